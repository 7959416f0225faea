// Gauss-Legendre rules of the element integration: published values, exactness, clamping of orders.
#include "core/DC2dBEMQuadrature.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(GaussLegendre, PublishedNodesAndWeights)
{
    struct Case {
        int order, k;
        double t, w;
    };
    const Case cases[] = {
        {2, 0, 0.2113249, 0.5},       {2, 1, 0.7886751, 0.5},       {3, 0, 0.1127017, 0.2777778},
        {3, 1, 0.5, 0.4444444},       {3, 2, 0.8872983, 0.2777778}, {8, 0, 0.0092197, 0.02358767},
        {8, 11, 0.9907803, 0.02358767},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.order * 100 + c.k);
        EXPECT_NEAR(GaussAbscissa(c.order, c.k), c.t, 1e-7);
        EXPECT_NEAR(GaussWeight(c.order, c.k), c.w, 5e-8);
    }
    EXPECT_EQ(GaussPointCount(8), 12);
    EXPECT_EQ(GaussPointCount(5), 5);
}

TEST(GaussLegendre, RulesIntegratePolynomialsExactly)
{
    for (int order = MinQuadratureOrder; order <= MaxQuadratureOrder; ++order) {
        SCOPED_TRACE(order);
        const TQuadRule& rule = QuadRule(order);
        ASSERT_EQ(rule.Count, GaussPointCount(order));
        double shapeSum = 0.0;
        for (int k = 0; k < rule.Count; ++k) {
            shapeSum += rule.WA[k] + rule.WB[k];
            if (k > 0) {
                EXPECT_LT(rule.T[k - 1], rule.T[k]);
            }
        }
        EXPECT_NEAR(shapeSum, 1.0, 1e-15);
        // An m-point rule is exact for t^p up to p = 2m - 1.
        for (int p = 0; p <= 2 * rule.Count - 1; ++p) {
            double sum = 0.0;
            for (int k = 0; k < rule.Count; ++k) sum += rule.W[k] * std::pow(rule.T[k], p);
            EXPECT_NEAR(sum, 1.0 / (p + 1), 1e-14) << "p = " << p;
        }
    }
}

TEST(GaussLegendre, OrdersOutsideTheTablesAreClamped)
{
    for (int order : {-3, 0, 1}) EXPECT_EQ(GaussPointCount(order), 2);
    for (int order : {9, 1000}) EXPECT_EQ(GaussPointCount(order), 12);
    EXPECT_EQ(QuadRule(1).T[0], QuadRule(2).T[0]);
    EXPECT_THROW(GaussAbscissa(3, 3), ERangeError);
    EXPECT_THROW(GaussWeight(3, -1), ERangeError);
}

TEST(GaussLegendre, PointsOnASegmentLieStrictlyInside)
{
    const complexM A{1.0, -2.0}, B{4.0, 2.0};
    for (int order = MinQuadratureOrder; order <= MaxQuadratureOrder; ++order) {
        for (int k = 0; k < GaussPointCount(order); ++k) {
            const complexM Q = GaussPointOnSegment(A, B, order, k);
            EXPECT_NEAR(PointDistance(A, Q) + PointDistance(Q, B), 5.0, 1e-12);
            EXPECT_GT(PointDistance(A, Q), 0.0);
            EXPECT_GT(PointDistance(Q, B), 0.0);
        }
    }
}
