#include "first_generation/engine/first_gen_engine.h"

namespace {

// Entry n is 8.175798915636872 x 1.059463094359^n: each product kept in long
// double (a 64-bit significand), each entry rounded to float once. The
// compiler evaluates this with exact round-to-nearest long double arithmetic,
// so the table exists before any code runs and no thread ever fills it.
struct NoteTable {
    float hz[128];
};

constexpr NoteTable computeNoteTable() {
    constexpr double kNoteZeroHz = 8.175798915636872;
    constexpr double kSemitoneRatio = 1.059463094359;
    NoteTable table{};
    long double frequency = kNoteZeroHz;
    for (float& entry : table.hz) {
        entry = static_cast<float>(frequency);
        frequency = frequency * kSemitoneRatio;
    }
    return table;
}

constexpr NoteTable kNoteTable = computeNoteTable();

}  // namespace

const float* const firstGenNoteFrequencies = kNoteTable.hz;
