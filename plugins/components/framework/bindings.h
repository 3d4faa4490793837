#pragma once

#include "booldelegate.h"
#include "columnbinding.h"
#include "componentcomboboxdelegate.h"
#include "componentlabel.h"
#include "componentparent.h"
#include "componentpath.h"
#include "componentselectdelegate.h"
#include "componentstore.h"
#include "componentuideditdelegate.h"
#include "componentuidvariant.h"

#include <memory>

// The column bindings that the component types share. A member is named by its pointer:
//   Bindings::text<&CoConfig::Rack::name>()
//   Bindings::reference<&CoConfig::Ups::rack>()
namespace Bindings {

using Store = CoConfig::ComplexConfigInterface;

template <typename M>
struct MemberTraits;
template <typename C, typename V>
struct MemberTraits<V C::*>
{
    using Class = C;
    using Value = V;
};
template <auto member>
using ClassOf = typename MemberTraits<decltype(member)>::Class;

template <typename U>
struct UidTraits;
template <int N>
struct UidTraits<CoConfig::ComponentUid<N>>
{
    static constexpr int type = N;
};
template <auto member>
constexpr int referencedType = UidTraits<typename MemberTraits<decltype(member)>::Value>::type;

inline bool isShown(int role)
{
    return role == Qt::DisplayRole || role == Qt::EditRole;
}

// A text that every cell of a column shows as its tooltip (the header keeps the field's own).
using CellToolTip = QString (*)();

template <CellToolTip toolTip>
QVariant cellToolTip(int role)
{
    if constexpr (toolTip != nullptr) {
        if (role == Qt::ToolTipRole)
            return toolTip();
    }
    return QVariant();
}

template <typename Holder>
StandardDelegate* makeHolder()
{
    return new Holder();
}

// A field that the type does not use.
template <typename T>
ColumnBinding<T> unused()
{
    return {nullptr, [](const T&, int, const Store*) { return QVariant(); },
            [](const QVariant&, T&, int) { return false; }};
}

// The record's own uid, edited as a number that keeps the type.
template <typename T>
ColumnBinding<T> ownUid()
{
    return {&makeHolder<ComponentUidEditDelegate>,
            [](const T& record, int role, const Store*) {
                // Shown as its number, edited as a QSize that keeps the type.
                if (role == Qt::DisplayRole)
                    return QVariant(record.uid.value);
                return role == Qt::EditRole ? ComponentUidVariant::fromUid(record.uid) : QVariant();
            },
            [](const QVariant& value, T& record, int role) {
                if (role != Qt::EditRole)
                    return false;
                constexpr int type = UidTraits<decltype(record.uid)>::type;
                record.uid = ComponentUidVariant::toUid<type>(value);
                return true;
            },
            true};
}

template <auto member, CellToolTip toolTip = nullptr>
ColumnBinding<ClassOf<member>> text()
{
    using T = ClassOf<member>;
    return {nullptr,
            [](const T& record, int role, const Store*) {
                return isShown(role) ? QVariant(record.*member) : cellToolTip<toolTip>(role);
            },
            [](const QVariant& value, T& record, int role) {
                if (role != Qt::EditRole)
                    return false;
                record.*member = value.toString();
                return true;
            }};
}

// Pasted text of a number column: a whole number.
CellReader numberReader(const Store*);
// Pasted text of a bool column: "Да"/"Нет", "1"/"0", "true"/"false".
CellReader boolReader(const Store*);

// An int member; text that is no number is stored as 0.
template <auto member, CellToolTip toolTip = nullptr>
ColumnBinding<ClassOf<member>> integer()
{
    using T = ClassOf<member>;
    ColumnBinding<T> binding{nullptr,
            [](const T& record, int role, const Store*) {
                return isShown(role) ? QVariant(int(record.*member)) : cellToolTip<toolTip>(role);
            },
            [](const QVariant& value, T& record, int role) {
                if (role != Qt::EditRole)
                    return false;
                record.*member = value.toInt();
                return true;
            }};
    binding.textReader = &numberReader;
    return binding;
}

// A bool member, shown as "Да"/"Нет" and edited as a bool; a value that does not read as
// yes or no is stored as false.
template <auto member, CellToolTip toolTip = nullptr>
ColumnBinding<ClassOf<member>> boolean()
{
    using T = ClassOf<member>;
    ColumnBinding<T> binding{&makeHolder<BoolDelegate>,
            [](const T& record, int role, const Store*) {
                if (role == Qt::DisplayRole)
                    return QVariant(boolText(bool(record.*member)));
                return role == Qt::EditRole ? QVariant(bool(record.*member)) : cellToolTip<toolTip>(role);
            },
            [](const QVariant& value, T& record, int role) {
                if (role != Qt::EditRole)
                    return false;
                record.*member = boolFromCell(value);
                return true;
            }};
    binding.textReader = &boolReader;
    return binding;
}

// The text of a reference: the label of the referenced record (empty when the store has none).
template <int P>
QString referencedName(const Store& store, const CoConfig::ComponentUid<P>& uid)
{
    return componentLabel(ComponentStore<P>::map(store).value(uid));
}

// The text of a reference shown under its parents: "parent/record", or with three levels
// "grandparent/parent/record".
template <int P, int levels = 2>
QString referencedPath(const Store& store, const CoConfig::ComponentUid<P>& uid)
{
    return componentPath(store, ComponentStore<P>::map(store).value(uid), levels);
}

template <int P>
using ReferenceText = QString (*)(const Store&, const CoConfig::ComponentUid<P>&);

template <int P>
using PlainSelect = ComponentSelectDelegate<typename ComponentStore<P>::Record, P>;

// Pasted text of a reference: the text its cell shows for the record, or the record's uid; an
// empty cell or "---" is none.
template <int P, ReferenceText<P> display>
CellReader referenceReader(const Store* store)
{
    auto index = std::make_shared<TextIndex>();
    if (store) {
        const auto& map = ComponentStore<P>::map(*store);
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            const QVariant value = ComponentUidVariant::fromUid(it.key());
            const QString text = display(*store, it.key());
            if (!text.isEmpty())
                index->add(text, value);
            index->add(QString::number(it.key().value), value, TextIndex::Other);
        }
    }
    return [index](const QString& text, QString* problem) {
        if (text.isEmpty() || text == noneText())
            return ComponentUidVariant::fromUid(CoConfig::ComponentUid<P>());
        return index->find(text, problem);
    };
}

// A reference to a component of another type. The cell shows display(uid) when a component is
// set and nothing otherwise; edits go through the uid rule, so a wrong type becomes "none".
template <auto member, typename Holder = PlainSelect<referencedType<member>>,
          ReferenceText<referencedType<member>> display = &referencedName<referencedType<member>>>
ColumnBinding<ClassOf<member>> reference()
{
    using T = ClassOf<member>;
    constexpr int P = referencedType<member>;
    return {&makeHolder<Holder>,
            [](const T& record, int role, const Store* store) {
                const CoConfig::ComponentUid<P>& uid = record.*member;
                if (role == Qt::EditRole)
                    return ComponentUidVariant::fromUid(uid);
                if (role == Qt::DisplayRole && uid.value >= 0 && store)
                    return QVariant(display(*store, uid));
                return QVariant();
            },
            [](const QVariant& value, T& record, int role) {
                if (role != Qt::EditRole)
                    return false;
                record.*member = ComponentUidVariant::toUid<P>(value);
                return true;
            },
            false, [](const T& record) { return qint64((record.*member).value); },
            &referenceReader<P, display>};
}

} // namespace Bindings
