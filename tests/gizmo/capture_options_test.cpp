// The capture tool's command line: what it accepts, and that every refusal
// names the argument at fault.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_options.h"

namespace {

CaptureOptions parse(const std::vector<std::string>& arguments) {
    CaptureOptions options;
    std::string error;
    EXPECT_TRUE(parseCaptureOptions(arguments, options, error)) << error;
    return options;
}

std::string refusal(const std::vector<std::string>& arguments) {
    CaptureOptions options;
    std::string error;
    EXPECT_FALSE(parseCaptureOptions(arguments, options, error));
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    return error;
}

}  // namespace

TEST(CaptureOptions, FullCommandLine) {
    const CaptureOptions options = parse({"--at", "30,0,12,22.5,5", "--size", "800x600", "--out",
                                          "shots/", "--gizmo", "cliff", "--prefix", "flight"});
    EXPECT_EQ(options.times, (std::vector<double>{0, 5, 12, 22.5, 30}));
    EXPECT_EQ(options.width, 800);
    EXPECT_EQ(options.height, 600);
    EXPECT_EQ(options.outputDirectory, "shots/");
    EXPECT_EQ(options.gizmo, GizmoTarget::Cliff);
    EXPECT_EQ(options.prefix, "flight");
    EXPECT_FALSE(options.help);
}

TEST(CaptureOptions, DefaultsKeepConfigSizeAndCurrentDirectory) {
    const CaptureOptions options = parse({"--at=4"});
    EXPECT_EQ(options.times, std::vector<double>{4});
    EXPECT_EQ(options.width, 0);
    EXPECT_EQ(options.height, 0);
    EXPECT_EQ(options.outputDirectory, ".");
    EXPECT_EQ(options.prefix, "frame");
    EXPECT_EQ(options.gizmo, GizmoTarget::None);
    EXPECT_EQ(parse({"--at", "1", "--gizmo=tree"}).gizmo, GizmoTarget::Tree);
    EXPECT_EQ(parse({"--at", "1", "--gizmo", "water"}).gizmo, GizmoTarget::Water);
    EXPECT_EQ(parse({"--at", "1", "--gizmo", "none"}).gizmo, GizmoTarget::None);
}

TEST(CaptureOptions, HelpWinsOverEverythingElse) {
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"--at", "bad", "-h"}).help);
    EXPECT_NE(captureUsage().find("--at"), std::string::npos);
    EXPECT_NE(captureUsage().find("--gizmo"), std::string::npos);
}

TEST(CaptureOptions, RefusalsNameTheArgument) {
    EXPECT_EQ(refusal({}).rfind("--at:", 0), 0u);
    EXPECT_EQ(refusal({"--at"}), "--at: missing value (see --help)");
    EXPECT_EQ(refusal({"--at", "1,,2"}).rfind("--at: '' is not a time", 0), 0u);
    EXPECT_EQ(refusal({"--at", "1,2s"}).rfind("--at: '2s' is not a time", 0), 0u);
    EXPECT_EQ(refusal({"--at", "nan"}).rfind("--at: 'nan'", 0), 0u);
    EXPECT_EQ(refusal({"--at", "-1"}).rfind("--at: time -1 is outside", 0), 0u);
    EXPECT_EQ(refusal({"--at", "1e9"}).rfind("--at: time 1e9 is outside", 0), 0u);
    EXPECT_EQ(refusal({"--at", "1", "--size", "800"}).rfind("--size: expected WIDTHxHEIGHT", 0),
              0u);
    EXPECT_EQ(refusal({"--at", "1", "--size", "x600"}).rfind("--size:", 0), 0u);
    EXPECT_EQ(refusal({"--at", "1", "--size", "-8x6"}).rfind("--size:", 0), 0u);
    EXPECT_EQ(refusal({"--at", "1", "--size", "0x600"}).rfind("--size: width and height", 0), 0u);
    EXPECT_EQ(refusal({"--at", "1", "--size", "5000x600"}).rfind("--size: width and height", 0),
              0u);
    EXPECT_EQ(refusal({"--at", "1", "--gizmo", "rock"}),
              "--gizmo: expected cliff, tree, water or none, got 'rock'");
    EXPECT_EQ(refusal({"--at", "1", "--prefix", "a/b"}).rfind("--prefix:", 0), 0u);
    EXPECT_EQ(refusal({"--at", "1", "--out", ""}).rfind("--out:", 0), 0u);
    EXPECT_EQ(refusal({"--at", "1", "--fast"}), "unknown argument '--fast' (see --help)");
    EXPECT_EQ(refusal({"--at", "1", "shots"}), "unknown argument 'shots' (see --help)");
}

TEST(CaptureOptions, TwoTimesOnOneFrameAreRefused) {
    // 1/60 s apart is one frame apart; less would save the same frame twice.
    EXPECT_EQ(refusal({"--at", "1,1"}).rfind("--at: times 1 and 1 fall on the same frame", 0), 0u);
    EXPECT_EQ(refusal({"--at", "2,2.005"}).rfind("--at: times 2 and 2.005", 0), 0u);
    EXPECT_EQ(parse({"--at", "2,2.0167"}).times.size(), 2u);
}

TEST(CaptureOptions, TimesMapToTheNearestFrameAt60PerSecond) {
    EXPECT_EQ(frameOfTime(0), 0);
    EXPECT_EQ(frameOfTime(22.5), 1350);
    EXPECT_EQ(frameOfTime(0.01), 1);
    EXPECT_EQ(frameOfTime(1.0 / 60.0 * 0.49), 0);
}

TEST(CaptureOptions, ShotNamesUseTheShortestTime) {
    EXPECT_EQ(shotFileName("frame", 0), "frame-0s.png");
    EXPECT_EQ(shotFileName("flight", 22.5), "flight-22.5s.png");
    EXPECT_EQ(shotFileName("flight", 30), "flight-30s.png");
    // Close times on different frames keep different names.
    EXPECT_NE(shotFileName("f", 1000.006), shotFileName("f", 1000.012));
}
