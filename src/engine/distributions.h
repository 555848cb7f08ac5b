#pragma once
// Tail probabilities of the test statistics the estimators print, from Boost.Math. Never
// throws: an argument outside a distribution's domain gives NaN, an infinite statistic a
// probability of 0.

#include "engine/regression.h"

namespace tamvel::engine {

/// P(|T| > |t|) for Student's t with `df` degrees of freedom.
Real TTwoSided(Real t, Real df);

/// P(F > f) for Fisher's F with `df1` and `df2` degrees of freedom.
Real FUpperTail(Real f, Real df1, Real df2);

/// P(X > x) for the chi-squared distribution with `df` degrees of freedom.
Real ChiSquaredUpperTail(Real x, Real df);

}  // namespace tamvel::engine
