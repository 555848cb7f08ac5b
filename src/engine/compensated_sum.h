#pragma once
// Sums in long double carried with their rounding error, for the few sums (residuals of a
// nearly exact fit, X'e at the solution) whose terms cancel to far below their own size.
// Error-free transformations make a + b and a * b exact as a pair of long doubles, so a
// compensated sum is about as accurate as one in twice long double's precision (Ogita, Rump
// and Oishi, "Accurate sum and dot product", 2005).

#include "engine/regression.h"

namespace tamvel::engine {

/// a + b = sum + error exactly (Knuth's TwoSum).
inline void TwoSum(Real a, Real b, Real& sum, Real& error) {
    sum = a + b;
    const Real virtualB = sum - a;
    error = (a - (sum - virtualB)) + (b - virtualB);
}

/// a * b = product + error exactly (Dekker's splitting: x87 has no fused multiply-add).
inline void TwoProduct(Real a, Real b, Real& product, Real& error) {
    constexpr Real kSplitter = 4294967297.0L;  // 2^32 + 1 for a 64-bit significand
    product = a * b;
    const Real ca = kSplitter * a;
    const Real aHigh = ca - (ca - a);
    const Real aLow = a - aHigh;
    const Real cb = kSplitter * b;
    const Real bHigh = cb - (cb - b);
    const Real bLow = b - bHigh;
    error = ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
}

/// A running sum with its accumulated rounding error.
class CompensatedSum {
  public:
    CompensatedSum() = default;
    explicit CompensatedSum(Real start) : m_sum(start) {}

    /// Adds a.
    void Add(Real a) {
        Real error;
        TwoSum(m_sum, a, m_sum, error);
        m_error += error;
    }
    /// Adds a * b.
    void AddProduct(Real a, Real b) {
        Real product, productError, sumError;
        TwoProduct(a, b, product, productError);
        TwoSum(m_sum, product, m_sum, sumError);
        m_error += productError + sumError;
    }
    /// Adds e * b, e itself a compensated value.
    void AddProduct(const CompensatedSum& e, Real b) {
        AddProduct(e.m_sum, b);
        AddProduct(e.m_error, b);
    }
    /// The sum rounded to long double.
    Real Value() const { return m_sum + m_error; }

  private:
    Real m_sum = 0;
    Real m_error = 0;
};

/// The same interface without compensation, where long double is already wide enough.
class PlainSum {
  public:
    PlainSum() = default;
    explicit PlainSum(Real start) : m_sum(start) {}

    /// Adds a.
    void Add(Real a) { m_sum += a; }
    /// Adds a * b.
    void AddProduct(Real a, Real b) { m_sum += a * b; }
    /// Adds e * b.
    void AddProduct(const PlainSum& e, Real b) { m_sum += e.m_sum * b; }
    /// The sum.
    Real Value() const { return m_sum; }

  private:
    Real m_sum = 0;
};

}  // namespace tamvel::engine
