// What the two pictures are asked to draw, recorded on in-memory surfaces.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/drawing.h"
#include "app/errors.h"
#include "app/messages.h"
#include "sim/arith.h"
#include "tests/scripted_port.h"
#include "tests/sim_fixture.h"

namespace {

using app::DrawOp;
using app::Rgb;
using testing_support::Form;

std::vector<DrawOp> Only(const std::vector<DrawOp>& ops, DrawOp::Kind kind) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : ops)
        if (op.kind == kind) out.push_back(op);
    return out;
}

TEST(DrawPlotAxes, GridOfElevenByTwentySixAndGreyZeroLine) {
    app::MemorySurface s(app::kPicture2Width, app::kPicture2Height);
    s.record = true;
    app::DrawPlotAxes(s);
    ASSERT_FALSE(s.ops.empty());
    EXPECT_EQ(s.ops.front().kind, DrawOp::kScale);
    EXPECT_EQ(s.ops.front().a, 0);
    EXPECT_EQ(s.ops.front().b, 5);
    EXPECT_EQ(s.ops.front().c, 25);
    EXPECT_EQ(s.ops.front().d, -5);
    const auto lines = Only(s.ops, DrawOp::kLine);
    int horizontal = 0, vertical = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(lines[i].colour, (Rgb{1, 0, 0}));
        if (lines[i].b == lines[i].d && lines[i].a == 0 && lines[i].c == 25) ++horizontal;
        if (lines[i].a == lines[i].c && lines[i].b == -5 && lines[i].d == 5) ++vertical;
    }
    EXPECT_EQ(horizontal, 11);
    EXPECT_EQ(vertical, 26);
    // The zero line comes last, over the grid line at y = 0.
    const DrawOp& zero = lines.back();
    EXPECT_EQ(zero.colour, (Rgb{200, 200, 200}));
    EXPECT_EQ(zero.b, 0);
    EXPECT_EQ(zero.d, 0);
}

TEST(DrawConstruction, Preset1StartPicture) {
    Form f;
    f.port.picture1.record = true;
    f.LimitTo(1);
    f.form.Command1_Click();
    const auto& ops = f.port.picture1.ops;
    ASSERT_EQ(ops.size(), 11u);
    struct Expect {
        DrawOp::Kind kind;
        Rgb colour;
    };
    const Rgb erase{250, 250, 250}, black{1, 0, 0}, blue{0, 0, 250}, red{250, 0, 0};
    const Expect order[] = {
        {DrawOp::kCircle, erase}, {DrawOp::kCircle, erase}, {DrawOp::kLine, erase},  {DrawOp::kLine, erase},
        {DrawOp::kLine, erase},   {DrawOp::kCircle, black}, {DrawOp::kLine, black},  {DrawOp::kCircle, blue},
        {DrawOp::kCircle, red},   {DrawOp::kLine, blue},    {DrawOp::kLine, red},
    };
    for (std::size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(ops[i].kind, order[i].kind) << i;
        EXPECT_EQ(ops[i].colour, order[i].colour) << i;
    }
    // R0 / ML = 0.5 / 0.25: a disk of radius 2, loads of radius 1 about 4
    // units from the centre after one step.
    EXPECT_EQ(ops[5].c, 2.0f);
    EXPECT_EQ(ops[7].c, 1.0f);
    EXPECT_NEAR(std::hypot(ops[7].a, ops[7].b), 4, 1e-6);
    EXPECT_NEAR(std::hypot(ops[8].a, ops[8].b), 4, 1e-6);
    // The first erase is at the start places: loads at +-R1/ML on X, and the
    // diameter from the marks that hold R1 in metres.
    EXPECT_EQ(ops[0].a, 4.0f);
    EXPECT_EQ(ops[1].a, -4.0f);
    EXPECT_EQ(ops[4].a, 1.0f);
    EXPECT_EQ(ops[4].c, -1.0f);
    // The diameter turns with the disk: R0/ML at the disk angle.
    const sim::Model& m = f.form.Model();
    EXPECT_FLOAT_EQ(ops[6].a, static_cast<float>(std::cos(m.fi[0]) * 0.5 / 0.25));
    EXPECT_FLOAT_EQ(ops[6].c, -ops[6].a);
}

TEST(DrawConstruction, ErasesWhatItDrewLastTime) {
    Form f;
    f.port.picture1.record = true;
    f.LimitTo(2);
    f.form.Command1_Click();
    const auto& ops = f.port.picture1.ops;
    ASSERT_EQ(ops.size(), 22u);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(ops[11 + k].a, ops[7 + k].a);  // erase circle where the load was
        EXPECT_EQ(ops[11 + k].b, ops[7 + k].b);
    }
    EXPECT_EQ(ops[15].a, ops[6].a);  // old diameter erased exactly
    EXPECT_EQ(ops[15].b, ops[6].b);
}

TEST(DrawConstruction, ScaleChangeMissesTheOldLoads) {
    Form f;
    f.port.picture1.record = true;
    f.port.script = {[&] { f.port.text[29] = "0,5"; }};
    f.LimitTo(2);
    f.form.Command1_Click();
    const auto& ops = f.port.picture1.ops;
    ASSERT_EQ(ops.size(), 22u);
    // Old places recomputed with the new ML: half as far out as drawn.
    EXPECT_NEAR(ops[11].a, ops[7].a / 2, 1e-6);
    EXPECT_EQ(ops[15].a, ops[6].a);  // the diameter is remembered in view units
    EXPECT_EQ(ops[16].c, 1.0f);      // new disk radius R0/ML = 1
}

TEST(PlotUpdate, SeriesInTableOrderWithTheirColours) {
    Form f;
    f.port.picture2.record = true;
    for (int c = 1; c <= 16; ++c) f.port.check[static_cast<std::size_t>(c)] = 1;
    f.port.check[16] = 0;
    f.LimitTo(1);
    f.form.Command1_Click();
    const auto points = Only(f.port.picture2.ops, DrawOp::kPoint);
    ASSERT_EQ(points.size(), 15u);
    const Rgb colours[] = {{0, 0, 250}, {255, 0, 0}, {0, 0, 250}, {255, 0, 0}, {0, 0, 200},
                           {200, 0, 0}, {0, 0, 200}, {200, 0, 0}, {0, 200, 0}, {0, 200, 0},
                           {0, 0, 250}, {250, 0, 0}, {0, 0, 200}, {200, 0, 0}, {0, 200, 0}};
    for (std::size_t i = 0; i < 15; ++i) EXPECT_EQ(points[i].colour, colours[i]) << i;
    const sim::Model& m = f.form.Model();
    const float x = static_cast<float>(m.TPlot / m.MT);
    EXPECT_EQ(points[0].a, x);
    EXPECT_EQ(points[0].b, static_cast<float>(m.VX[1] / m.MV));
    EXPECT_EQ(points[9].b, static_cast<float>(-(m.FY[1] + m.FY[2]) / m.MF));
    // Trajectories: absolute positions over ML, x along X, not time.
    EXPECT_EQ(points[10].a, static_cast<float>(m.X[1] / m.ML));
    EXPECT_EQ(points[11].a, static_cast<float>(m.X[2] / m.ML));
    EXPECT_EQ(points[14].b, static_cast<float>(1e10 * (m.E - m.E0) / m.E0));
}

TEST(PlotUpdate, OnlyExactlyOneCountsAsTicked) {
    Form f;
    f.port.picture2.record = true;
    f.port.check[7] = 0;
    f.port.check[8] = 2;   // greyed
    f.port.check[15] = 2;
    f.LimitTo(1);
    f.form.Command1_Click();
    EXPECT_TRUE(Only(f.port.picture2.ops, DrawOp::kPoint).empty());
}

TEST(PlotUpdate, OutsideTheFrameIsClippedNotAnError) {
    app::MemorySurface s(app::kPicture2Width, app::kPicture2Height);
    app::DrawPlotAxes(s);
    EXPECT_NO_THROW(s.PSet(3, 6, {0, 0, 200}));
    EXPECT_NO_THROW(s.PSet(-100, 1000, {0, 0, 200}));
    EXPECT_THROW(s.PSet(3, 1e30f, {0, 0, 200}), app::DrawError);
    EXPECT_THROW(app::ToDrawCoord(1e39), app::DrawError);
    EXPECT_EQ(app::ToDrawCoord(1e38), 1e38f);
}

TEST(SweepRestart, ClearsThePlotAndStartsAtTheLeft) {
    Form f;
    f.port.picture2.record = true;
    f.port.text[51] = "0,0002";  // sweep of 25 * 0.0002 = 0.005 s = 50 steps
    f.LimitTo(52);
    f.form.Command1_Click();
    const auto& ops = f.port.picture2.ops;
    std::size_t cls = 0, lastCls = 0;
    for (std::size_t i = 0; i < ops.size(); ++i)
        if (ops[i].kind == DrawOp::kCls) ++cls, lastCls = i;
    EXPECT_EQ(cls, 1u);
    // The restart redraws the grid, then the points start at x = 0.
    ASSERT_EQ(ops[lastCls + 1].kind, DrawOp::kScale);
    const auto after = Only(std::vector<DrawOp>(ops.begin() + static_cast<long>(lastCls), ops.end()), DrawOp::kPoint);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.front().a, 0.0f);
}

TEST(ClearPictures, RedrawsBothGridsAndTheTraceGoesOn) {
    Form f;
    f.port.picture1.record = true;
    f.port.picture2.record = true;
    f.port.script = {nullptr, [&] { f.form.Command5_Click(); }};
    f.LimitTo(3);
    f.form.Command1_Click();
    const auto& v = f.port.picture1.ops;
    // 2 cycles of 11, then: no background, Cls, grid, then the next cycle.
    ASSERT_GT(v.size(), 24u);
    EXPECT_EQ(v[22].kind, DrawOp::kNoBackground);
    EXPECT_EQ(v[23].kind, DrawOp::kCls);
    EXPECT_EQ(v[24].kind, DrawOp::kScale);
    const auto points = Only(f.port.picture2.ops, DrawOp::kPoint);
    ASSERT_EQ(points.size(), 6u);  // FY1, FY2 over three cycles
    EXPECT_GT(points[4].a, points[2].a);  // x carries on, not back to 0
    EXPECT_EQ(f.form.Model().NC, 0);
}

TEST(Scheme, LoadsOrReportsTheFile) {
    Form f;
    f.port.picture1.record = true;
    f.form.Command7_Click();
    ASSERT_EQ(f.port.picture1.ops.size(), 1u);
    EXPECT_EQ(f.port.picture1.ops[0].kind, DrawOp::kBackground);
    EXPECT_TRUE(f.port.messages.empty());
    f.port.picture1.background = app::PictureFile::kMissing;
    f.form.Command7_Click();
    f.port.picture1.background = app::PictureFile::kUnusable;
    f.form.Command7_Click();
    EXPECT_EQ(f.port.picture1.ops.size(), 1u);
    ASSERT_EQ(f.port.messages.size(), 2u);
    EXPECT_EQ(f.port.messages[0], app::kSchemeMissingText);
    EXPECT_EQ(f.port.messages[1], app::kSchemeUnusableText);
    for (const std::string& m : f.port.messages) EXPECT_NE(m.find("shema.gif"), std::string::npos) << m;
}

}  // namespace
