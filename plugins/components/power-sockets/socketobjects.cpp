#include "socketobjects.h"

#include "bindings.h"
#include "components.h"

#include <QSize>

#include <memory>

namespace SocketObjects {

namespace {

using Store = CoConfig::ComplexConfigInterface;

// A component shown under its parent, or by its own name.
template <int N>
QString text(const Store& store, const CoConfig::ComponentUid<N>& uid)
{
    if constexpr (N == 1 || N == 2)
        return Bindings::referencedPath<N>(store, uid);
    else
        return Bindings::referencedName<N>(store, uid);
}

template <int N>
QList<Choice> choicesOf(const Store& store)
{
    QList<Choice> list;
    const auto& map = ComponentStore<N>::map(store);
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        list.append({text<N>(store, it.key()), CoConfig::ConfigUid{it.key().value, N}});
    return list;
}

QString typed(int type, const QString& name)
{
    return CoConfig::Components::name(CoConfig::ComponentType(type)) + QStringLiteral(": ") + name;
}

} // namespace

QString cellText(const Store& store, const CoConfig::ConfigUid& object)
{
    switch (object.type) {
    case 0:
        return typed(0, text<0>(store, CoConfig::ComponentUid<0>(object.value)));
    case 1:
        return text<1>(store, CoConfig::ComponentUid<1>(object.value));
    case 2:
        return text<2>(store, CoConfig::ComponentUid<2>(object.value));
    case 9:
        return typed(9, text<9>(store, CoConfig::ComponentUid<9>(object.value)));
    default:
        return QString();
    }
}

QList<Choice> choices(const Store& store, int type)
{
    switch (type) {
    case 0:
        return choicesOf<0>(store);
    case 1:
        return choicesOf<1>(store);
    case 2:
        return choicesOf<2>(store);
    case 9:
        return choicesOf<9>(store);
    default:
        return {};
    }
}

CellReader reader(const Store* store)
{
    auto index = std::make_shared<TextIndex>();
    for (const int type : {0, 1, 2, 9}) {
        for (const Choice& choice : store ? choices(*store, type) : QList<Choice>()) {
            const QVariant value = QSize(choice.object.value, type);
            index->add(cellText(*store, choice.object), value);
            index->add(choice.text, value, TextIndex::Other); // a rack or a UPS by its bare name
            index->add(typed(type, QString::number(choice.object.value)), value, TextIndex::Other);
            if (type == 1 || type == 2)
                index->add(QString::number(choice.object.value), value, TextIndex::Other);
        }
    }
    return [index](const QString& text, QString* problem) {
        return text.isEmpty() ? QVariant(QSize(-1, -1)) : index->find(text, problem);
    };
}

} // namespace SocketObjects
