#pragma once

#include "complexdata.h"

namespace CoConfig {
class ComplexConfigInterface;
}

// Builds complexes for the store's tests and its benchmark: every kind of record, every member
// away from its default, Russian text. Two variants of the same sizes differ in every file.
namespace StoreTest {

struct ComplexSizes
{
    int racks = 3;
    int computers = 4;
    int operators = 5;
    int channels = 6;
    int antennas = 4;
    int unions = 2;
    int pelengators = 3;
    int others = 3; // every remaining kind
    int links = 3;  // of each link kind
    int registrations = 2; // on each computer: one to this many (at most three)

    static ComplexSizes large(); // the benchmark's complex
    static ComplexSizes medium(int channels);
};

CoConfig::ComplexData generateComplex(const ComplexSizes& sizes, int variant);

// Replaces everything the store holds with the data, through its public accessors.
void putInto(CoConfig::ComplexConfigInterface& store, const CoConfig::ComplexData& data);

} // namespace StoreTest
