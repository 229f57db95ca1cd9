// Floats that one thread stores while another reads them: parameter values and
// the coefficients derived from them, written on the host's interface thread
// and read by its audio thread. The reader sees the old value or the new one,
// never a mixture, and neither side waits. Relaxed atomic accesses say exactly
// that; on every target they are the plain moves of a float, so the samples
// stay those of unshared floats.
#pragma once

// One access to a float that lives in a plain array (the live parameter
// values, whose bytes the host reads as a chunk). Copies bytes, not values, so
// every bit pattern (a signalling NaN included) arrives unchanged.
inline float loadShared(const float& from) {
    float value;
    __atomic_load(&from, &value, __ATOMIC_RELAXED);
    return value;
}

inline void storeShared(float& to, float value) { __atomic_store(&to, &value, __ATOMIC_RELAXED); }

// A shared float as a struct field: reads and writes like a float, each one a
// single relaxed access.
class SharedFloat {
public:
    SharedFloat(float initial = 0.0f) : value(initial) {}
    SharedFloat(const SharedFloat& other) : value(other) {}
    SharedFloat& operator=(const SharedFloat& other) { return *this = float(other); }
    SharedFloat& operator=(float next) {
        storeShared(value, next);
        return *this;
    }
    operator float() const { return loadShared(value); }

private:
    float value;
};
