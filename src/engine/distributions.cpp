#include "engine/distributions.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <limits>

namespace tamvel::engine {
namespace {

namespace policies = boost::math::policies;
// Errors become values (NaN or the limit) instead of exceptions.
using Quiet = policies::policy<policies::domain_error<policies::ignore_error>,
                               policies::pole_error<policies::ignore_error>,
                               policies::overflow_error<policies::ignore_error>,
                               policies::underflow_error<policies::ignore_error>,
                               policies::evaluation_error<policies::ignore_error>,
                               policies::rounding_error<policies::ignore_error>>;

constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();

// The upper tail of `distribution` at x, for x known to be finite or +inf.
template <class Distribution>
Real UpperTail(const Distribution& distribution, Real x) {
    if (std::isnan(x)) return kNaN;
    if (std::isinf(x)) return x > 0 ? Real(0) : Real(1);
    return boost::math::cdf(boost::math::complement(distribution, x));
}

}  // namespace

Real TTwoSided(Real t, Real df) {
    if (!(df > 0)) return kNaN;
    const Real tail =
        UpperTail(boost::math::students_t_distribution<Real, Quiet>(df), std::fabs(t));
    return std::min(Real(1), 2 * tail);
}

Real FUpperTail(Real f, Real df1, Real df2) {
    if (!(df1 > 0 && df2 > 0) || f < 0) return kNaN;
    return UpperTail(boost::math::fisher_f_distribution<Real, Quiet>(df1, df2), f);
}

Real ChiSquaredUpperTail(Real x, Real df) {
    if (!(df > 0) || x < 0) return kNaN;
    return UpperTail(boost::math::chi_squared_distribution<Real, Quiet>(df), x);
}

}  // namespace tamvel::engine
