// What valdrex-solve says about failures before and after solving.
#include "cli/message_text.h"
#include "cli/record_saver.h"
#include "cli/scan_bound.h"
#include "core/failure.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <map>

namespace valdrex::cli {
namespace {

// The model's reading tells which box and why; the message names the box and quotes its text.
TEST(UnreadCoefficientTest, NamesTheBoxAndWhy) {
    const std::tuple<int, std::string, ReadFault, std::string> cases[] = {
        {0, "5/0", ReadFault::ZeroDenominator, "Division by 0 in the constant term ('5/0')"},
        {2, "0/0", ReadFault::ZeroDenominator, "Division by 0 in the coefficient of x^2 ('0/0')"},
        {0, "99999999999", ReadFault::BeyondRange,
         "the constant term ('99999999999') is beyond the 32-bit range these methods use; "
         "--method all takes any size"},
        {1, "-2147483649/3", ReadFault::BeyondRange,
         "the coefficient of x ('-2147483649/3') is beyond the 32-bit range these methods use; "
         "--method all takes any size"},
        {1, "1/65536", ReadFault::CommonDenominatorBeyondRange,
         "the common denominator of the coefficients is beyond the 32-bit range these methods "
         "use (at the coefficient of x ('1/65536')); --method all takes any size"},
        {3, ".0000000001", ReadFault::BeyondRange,
         "the coefficient of x^3 ('.0000000001') is beyond the 32-bit range these methods use; "
         "--method all takes any size"},
    };
    for (const auto& [power, text, why, message] : cases)
        EXPECT_EQ(UnreadCoefficientMessage(power, text, why), message);
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

// A file that fails as the table says for each record, by its text.
std::map<std::string, int, std::less<>> failures;
std::vector<std::pair<std::string, bool>> written;

void FakeWriter(const std::string& path, std::string_view line, bool truncateFirst) {
    EXPECT_EQ(path, "db\xFF.txt");
    if (const auto found = failures.find(line); found != failures.end())
        throw FileFailure(found->second);
    written.emplace_back(line, truncateFirst);
}

TEST(RecordSaverTest, EachRunOfLikeFailuresIsToldOnce) {
    failures = {{"full", ENOSPC}, {"denied", EACCES}};
    written.clear();
    RecordSaver saver("db\xFF.txt", true, FakeWriter);
    std::string err;
    const std::pair<std::string, int> records[] = {{"full", 3}, {"full", 4},    {"full", 9},
                                                   {"a", 10},   {"full", 11},   {"denied", 12},
                                                   {"b", 13},   {"denied", 14}, {"denied", 15}};
    for (const auto& [record, line] : records) {
        saver.Save(record, line, err);
        if (line == 10) {
            EXPECT_EQ(err, "valdrex-solve: cannot save to 'db\\xFF.txt': No space left on device "
                           "(lines 3-9 not saved)\n");
        }
    }
    saver.Finish(err);
    EXPECT_EQ(err, "valdrex-solve: cannot save to 'db\\xFF.txt': No space left on device "
                   "(lines 3-9 not saved)\n"
                   "valdrex-solve: cannot save to 'db\\xFF.txt': No space left on device "
                   "(line 11 not saved)\n"
                   "valdrex-solve: cannot save to 'db\\xFF.txt': Permission denied "
                   "(line 12 not saved)\n"
                   "valdrex-solve: cannot save to 'db\\xFF.txt': Permission denied "
                   "(lines 14-15 not saved)\n");
    EXPECT_TRUE(saver.anyFailed());
    // The file is emptied by the first record written, not by one that failed.
    EXPECT_EQ(written, (std::vector<std::pair<std::string, bool>>{{"a", true}, {"b", false}}));
}

TEST(RecordSaverTest, OneEquationNamesNoLine) {
    failures = {{"full", ENOSPC}};
    RecordSaver saver("db\xFF.txt", false, FakeWriter);
    std::string err;
    saver.Save("full", 0, err);
    saver.Finish(err);
    EXPECT_EQ(err, "valdrex-solve: cannot save to 'db\\xFF.txt': No space left on device\n");
}

} // namespace
} // namespace valdrex::cli
