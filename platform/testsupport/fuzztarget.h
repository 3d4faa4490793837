#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every fuzz target defines besides LLVMFuzzerTestOneInput: its seed corpus, written into
// the folder when the target runs with ORVANE_FUZZ_SEEDS set to it (it then writes and exits).
void orvaneFuzzSeeds(const QString& folder);

namespace Fuzz {

// A seed file of the corpus, named after its content.
void writeSeed(const QString& folder, const QByteArray& bytes);
// The input split at its first line break: a name that picks what is read, and the bytes.
void splitName(const uint8_t* data, size_t size, QByteArray* name, QByteArray* bytes);
QByteArray readFile(const QString& path);

} // namespace Fuzz
