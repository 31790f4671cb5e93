// SPDX-License-Identifier: MIT
#include "core/chart/chart_annotations.h"

#include <gtest/gtest.h>

namespace kr820::core {
namespace {

TEST(ChartAnnotations, WritingAnIndexCreatesTheSlotsBelowItEmpty) {
    // The program's first annotation takes index 4; the next one is added after it.
    ChartAnnotations annotations;
    GraphAnnotation* cross = annotations.EditGraphAnnotation(4);
    ASSERT_NE(cross, nullptr);
    *cross = {kAnnotationCross, 46000.5, 21.5, QString(), 0xFFFFFF, 0};
    EXPECT_EQ(annotations.AddGraphAnnotation({kAnnotationText, 1.0, 2.0, "hot", 0xFFFFFF, 1}), 5);

    EXPECT_EQ(annotations.GraphAnnotationCount(), 6);
    EXPECT_EQ(annotations.GraphAnnotationAt(4).Type, kAnnotationCross);
    EXPECT_EQ(annotations.GraphAnnotationAt(4).X, 46000.5);
    EXPECT_EQ(annotations.GraphAnnotationAt(5).Text, QStringLiteral("hot"));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(annotations.GraphAnnotationAt(i), GraphAnnotation{});
    EXPECT_EQ(annotations.GraphAnnotationAt(99), GraphAnnotation{});

    annotations.ClearGraphAnnotations();
    EXPECT_EQ(annotations.GraphAnnotationCount(), 0);
}

TEST(ChartAnnotations, IndicesBeyondTheLimitsAreRefused) {
    ChartAnnotations annotations;
    EXPECT_EQ(annotations.EditGraphAnnotation(-1), nullptr);
    EXPECT_EQ(annotations.EditGraphAnnotation(ChartAnnotations::kMaxGraphAnnotations), nullptr);
    EXPECT_EQ(annotations.EditVertLineAnnotation(ChartAnnotations::kMaxVertLineAnnotations),
              nullptr);
    EXPECT_EQ(annotations.GraphAnnotationCount(), 0);

    ASSERT_NE(annotations.EditGraphAnnotation(ChartAnnotations::kMaxGraphAnnotations - 1), nullptr);
    EXPECT_EQ(annotations.AddGraphAnnotation({}), -1);
    EXPECT_EQ(annotations.GraphAnnotationCount(), ChartAnnotations::kMaxGraphAnnotations);
}

TEST(ChartAnnotations, VerticalLinesKeepTheirColourWhenTheCursorMovesThem) {
    // The set-up colours lines 0 and 1; the point cursor later moves line 0.
    ChartAnnotations annotations;
    annotations.EditVertLineAnnotation(0)->Color = 0x0000FF;
    annotations.EditVertLineAnnotation(1)->Color = 0xFF0000;
    annotations.EditVertLineAnnotation(0)->X = 46000.25;

    EXPECT_EQ(annotations.VertLineAnnotationCount(), 2);
    EXPECT_EQ(annotations.VertLineAnnotationAt(0).X, 46000.25);
    EXPECT_EQ(annotations.VertLineAnnotationAt(0).Color, 0x0000FFu);
    EXPECT_EQ(annotations.VertLineAnnotationAt(1).Color, 0xFF0000u);
    EXPECT_EQ(annotations.VertLineAnnotationAt(1).X, 0.0);
}

}  // namespace
}  // namespace kr820::core
