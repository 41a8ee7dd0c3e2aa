// The command line read: options, their values, the methods offered, the scans allowed.

#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <cmath>

namespace valdrex::cli {
namespace {

ParsedCommandLine Parse(std::vector<std::string> args) {
    return ParseCommandLine(args);
}

TEST(CliOptionsTest, NumbersAreCoefficientsEvenWhenTheyLookLikeOptionsUntilDoubleDash) {
    // Numbers the grid would misread go to it as the exact reader reads them.
    const ParsedCommandLine parsed =
        Parse({"1", "-3", "2/3", "-.5", "--numeric", "-1.5e1", "+2.5/0.5", "7e-1"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.coefficients,
              (std::vector<std::string>{"1", "-3", "2/3", "-.5", "-15", "5", "0.7"}));
    EXPECT_EQ(parsed.options.equation, std::nullopt);
    EXPECT_TRUE(parsed.options.numeric);
    EXPECT_EQ(Parse({"--", "1", "2"}).options.coefficients, (std::vector<std::string>{"1", "2"}));
    // After "--" an option name is a coefficient text, and not a valid one.
    EXPECT_EQ(Parse({"1", "--", "--json"}).error, "invalid coefficient '--json'");
}

// The option texts in the order of the options dialogs.
std::vector<std::string> Texts(const MethodOptions& m) {
    return {m.AccuracyText,     m.BairstowPText,    m.BairstowQText, m.BisectionMinText,
            m.BisectionMaxText, m.BisectionIncText, m.NewtonX0Text,  m.DigitsText};
}

TEST(CliOptionsTest, ReadsEveryOptionInBothSpellings) {
    const ParsedCommandLine parsed = Parse({"--method", "bisection",   "--accuracy=5",
                                            "--p",      "-1.5",        "--q=2",
                                            "--min",    "-3",          "--max",
                                            "4.",       "--inc=-.25",  "--x0",
                                            "7",        "--test",      "-2.5",
                                            "--save",   "db.txt",      "--overwrite",
                                            "--json",   "--digits=30", "1",
                                            "0",        "0",           "-1"});
    ASSERT_EQ(parsed.error, "");
    const CliOptions& o = parsed.options;
    EXPECT_EQ(o.method, SolveMethod::Bisection);
    EXPECT_EQ(Texts(o.methodOptions),
              (std::vector<std::string>{"5", "-1.5", "2", "-3", "4.", "-.25", "7", "30"}));
    EXPECT_EQ(o.testPoint, "-2.5");
    EXPECT_EQ(o.saveFile, "db.txt");
    EXPECT_TRUE(o.overwrite && o.json);
    EXPECT_EQ(o.coefficients.size(), 4u);
    // The texts are typed as in their boxes: Backspace erases.
    EXPECT_EQ(Parse({"--p", "12\b3", "1"}).options.methodOptions.BairstowPText, "13");
    EXPECT_EQ(Parse({"--accuracy", "0", "1"}).options.methodOptions.AccuracyText, "0");
}

TEST(CliOptionsTest, ALoneArgumentWithMoreThanNumbersIsAnEquation) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-x^2 + 1"}, "-x^2 + 1"},     {{"--json", "(2)"}, "(2)"}, {{"1,5"}, "1,5"},
        {{"--equation", "1 2"}, "1 2"}, {{"--equation=-5"}, "-5"},  {{"--", "--x"}, "--x"},
    };
    for (const auto& [args, equation] : cases) {
        const ParsedCommandLine parsed = Parse(args);
        EXPECT_EQ(parsed.error, "") << equation;
        EXPECT_EQ(parsed.options.equation, equation);
        EXPECT_TRUE(parsed.options.coefficients.empty());
    }
    EXPECT_EQ(Parse({"2"}).options.equation, std::nullopt);
}

TEST(CliOptionsTest, HelpAndVersionWin) {
    EXPECT_EQ(Parse({"1", "--help"}).action, CliAction::Help);
    EXPECT_EQ(Parse({"-h"}).action, CliAction::Help);
    EXPECT_EQ(Parse({"--version", "x"}).action, CliAction::Version);
}

TEST(CliOptionsTest, UsageErrors) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"1", "-", "2"}, "invalid coefficient '-'"},
        {{"1", "", "2"}, "invalid coefficient ''"},
        {{"-"}, "invalid coefficient '-'"},
        {{"1e", "1"}, "invalid coefficient '1e'"},
        {{"1", "+"}, "invalid coefficient '+'"},
        {{"1", "1e100001"}, "invalid coefficient '1e100001': a power of ten beyond \u00b1100,000"},
        {{"1", "x^2"}, "invalid coefficient 'x^2' (an equation goes alone, in quotes)"},
        {{"--equation", "x", "1"}, "--equation takes the whole equation (found '1')"},
        {{"--batch", "--equation", "x"},
         "--batch reads the equations from standard input, not from the command line (found "
         "'x')"},
        {{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14"},
         "too many coefficients (14; at most 13)"},
        {{}, "no coefficients"},
        {{"--numeric"}, "no coefficients"},
        {{"--frobnicate", "1"}, "unknown option '--frobnicate'"},
        {{"--json=1", "1"}, "unknown option '--json=1'"},
        {{"--method", "simplex", "1"},
         "unknown method 'simplex' (choose exact, rational, bairstow, bisection, newton or all)"},
        {{"1", "--method"}, "--method needs a value"},
        {{"--accuracy", "9", "1"}, "invalid value '9' for --accuracy (one digit, 0 to 8)"},
        {{"--accuracy", "12", "1"}, "invalid value '12' for --accuracy (one digit, 0 to 8)"},
        {{"--p", "1-", "1"}, "invalid value '1-' for --p (a signed decimal number)"},
        {{"--digits", "31", "1"}, "invalid value '31' for --digits (a whole number, 1 to 30)"},
        {{"--digits=0", "1"}, "invalid value '0' for --digits (a whole number, 1 to 30)"},
        {{"--digits", "1.5", "1"}, "invalid value '1.5' for --digits (a whole number, 1 to 30)"},
        {{"--digits", "", "1"}, "invalid value '' for --digits (a whole number, 1 to 30)"},
        {{"--inc", "1/2", "1"}, "invalid value '1/2' for --inc (a signed decimal number)"},
        {{"--x0", "1.2.3", "1"}, "invalid value '1.2.3' for --x0 (a signed decimal number)"},
        {{"--test", "1/2", "1"}, "invalid test number '1/2'"},
        {{"--overwrite", "1"}, "--overwrite needs --save FILE"},
        {{"--save", "", "1"}, "--save needs a file name"},
        {{"--batch", "1"},
         "--batch reads the equations from standard input, not from the command line "
         "(found '1')"},
        {{"1", "1\x01\xC3"}, "invalid coefficient '1\\x01\\xC3'"},
        // A value its box lets through is not yet a number.
        {{"--accuracy", "", "1"}, "invalid value '' for --accuracy (one digit, 0 to 8)"},
        {{"--p", "-", "1"}, "invalid value '-' for --p (a signed decimal number)"},
        {{"--x0", "", "1"}, "invalid value '' for --x0 (a signed decimal number)"},
        {{"--inc=-.", "1"}, "invalid value '-.' for --inc (a signed decimal number)"},
        {{"--q", "5\b", "1"}, "invalid value '5\\x08' for --q (a signed decimal number)"},
        {{"--test", "", "1"}, "invalid test number ''"},
        {{"--test", "-", "1"}, "invalid test number '-'"},
        {{"--jobs", "0", "--batch"}, "invalid value '0' for --jobs (a whole number, 1 to 1024)"},
        {{"--jobs", "1025", "--batch"},
         "invalid value '1025' for --jobs (a whole number, 1 to 1024)"},
        {{"--jobs=2", "1"}, "--jobs needs --batch"},
        // A long token is echoed in part.
        {{"1", std::string(41, 'y')}, "invalid coefficient '" + std::string(40, 'y') + "\u2026'"},
        {{"1", std::string(40, 'y')}, "invalid coefficient '" + std::string(40, 'y') + "'"},
    };
    for (const auto& [args, error] : cases)
        EXPECT_EQ(Parse(args).error, error) << error;
}

TEST(CliOptionsTest, BatchJobsAndLongScans) {
    const CliOptions o = Parse({"--batch", "--jobs", "3", "--long-scans"}).options;
    EXPECT_TRUE(o.batch && o.longScans);
    EXPECT_EQ(o.jobs, 3);
    EXPECT_EQ(Parse({"--batch"}).options.jobs, 0);                      // one for each core
    EXPECT_EQ(Parse({"--batch", "--jobs", "1024"}).options.jobs, 1024); // the most, four digits
}

TEST(MethodOfferTest, FollowsTheMathsMenu) {
    // Menus for the highest nonzero power 2, 4 and 6 (the rule itself is the model's to test).
    EXPECT_FALSE(MethodNotOfferedMessage(SolveMethod::Exact, {2}));
    EXPECT_FALSE(MethodNotOfferedMessage(SolveMethod::Newton, {4}));

    EXPECT_EQ(MethodNotOfferedMessage(SolveMethod::Exact, {6}),
              "the exact method is not offered for this equation: the formulas solve degree 4 at "
              "most, and a coefficient of x^5 or above is not zero; offered: rational, bairstow, "
              "bisection, newton and all");
    EXPECT_EQ(MethodNotOfferedMessage(SolveMethod::Newton, {2}),
              "the newton method is not offered for this equation: the approximate methods need "
              "a non-zero coefficient of x^3 or above; offered: exact, rational and all");
}

TEST(ScanBoundTest, StepsAsTheScanCountsThem) {
    const std::tuple<double, double, double, double> cases[] = {
        {0, 1, .25, 4},                                    // 0, .25, .5, .75
        {1, 0, -.25, 4},                                   // downwards
        {0, 1, -.25, 0},                                   // away from max
        {0, 1, 0, 0},                                      // no increment
        {0, .2, .25, 0},                                   // narrower than one step
        {-1, 1, 1e-300, 0},                                // lost against the start
        {0, 1, std::ldexp(1, -60), std::ldexp(1, 53) + 1}, // until lost against x
        {-1, 1, 1e-8, 2e8},
    };
    for (const auto& [min, max, inc, steps] : cases)
        EXPECT_EQ(ScanStepCount(min, max, inc), steps) << min << " " << max << " " << inc;

    MethodOptions options;
    EXPECT_EQ(LongScanMessage(options), std::nullopt);
    options.BisectionIncText = ".00000002"; // exactly 10^8 steps from -1 to 1
    options.BisectionMinText = "-1";
    options.BisectionMaxText = "1";
    EXPECT_EQ(LongScanMessage(options), std::nullopt);
    options.BisectionIncText = ".00000001";
    EXPECT_EQ(LongScanMessage(options),
              "the bisection scan would take 200000000 steps; more than 100000000 need "
              "--long-scans");
    options.BisectionMinText = "-1" + std::string(300, '0'); // the solver reports the overflow
    EXPECT_EQ(LongScanMessage(options), std::nullopt);
}

} // namespace
} // namespace valdrex::cli
