#ifndef PLYSTRAND_TESTS_SUPPORT_LYPGOLDENMODEL_H
#define PLYSTRAND_TESTS_SUPPORT_LYPGOLDENMODEL_H

#include <cmath>
#include <limits>
#include <vector>

#include "layuplib/CKpNodeStore.h"
#include "tests/support/LypTestModel.h"

// The model of every kind of object (LypTestModel.h) with numbers whose text
// is easy to get wrong: node coordinates and pattern element angles at the
// ends of the fixed form, exact ties at the eighth digit, subnormals, huge
// values and non-finite ones. Saved, it is the reference file of the writer
// (tests/data/lyp/golden.lyp and golden.lyp.gz, gzip level 1).
namespace lyptest {

inline std::vector<double> GoldenNumbers() {
    const double inf = std::numeric_limits<double>::infinity();
    return {0.0,
            -0.0,
            1e-5,
            9.99999995e-6,
            9.9999999e-5,
            1e-4,
            99999999.0,
            99999999.5,
            1e8,
            -1e8,
            1.0 / 3.0,
            -2.0 / 3.0 * 1e-7,
            123456785.0,
            1234567.25,
            std::numeric_limits<double>::denorm_min(),
            std::numeric_limits<double>::min(),
            1e300,
            -1.7976931348623157e308,
            0.1 + 0.2,
            std::acos(-1.0),
            6.02214076e23,
            -0.000123456785,
            1e-310,
            inf,
            -inf,
            std::nan("")};
}

inline void BuildGolden(CKpLayup& model) {
    Build(model, "Ply one");
    const std::vector<double> v = GoldenNumbers();
    size_t k = 0;
    auto next = [&]() { return v[k++ % v.size()]; };
    // The reader takes only finite coordinates.
    auto nextFinite = [&]() {
        double x = next();
        while (!std::isfinite(x)) x = next();
        return x;
    };
    CKpNodeStore* nodes = model.pNodes();
    for (int i = 0; i < nodes->entries(); ++i) {
        const double x = nextFinite(), y = nextFinite(), z = nextFinite();
        (*nodes)[i]->setCKpPoint(x, y, z);
    }
    CKpPatStore* pats = model.pPats();
    for (int i = 0; i < pats->entries(); ++i)
        for (CKpPatElem* pe = (*pats)[i]->PatElems()->First(); pe;
             pe = (*pats)[i]->PatElems()->Next(pe)) {
            pe->setShear(next());
            pe->setWarpAngle(next());
            pe->setWeftAngle(next());
            pe->setThickness(std::fabs(next()));
        }
}

}  // namespace lyptest

#endif  // PLYSTRAND_TESTS_SUPPORT_LYPGOLDENMODEL_H
