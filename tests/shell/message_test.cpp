// Message boxes as the user sees them (read from the box itself), signal names and the reporting
// of system error codes.
#include "app.h"
#include "message.h"
#include "textrules.h"
#include "winutil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SignalCase {
    int number;
    const char* name;
};

// The numbers of this platform's C library.
const SignalCase SignalCases[] = {
    {11, "segmentation error"}, {4, "illegal instruction"}, {22, "abort signal"},
    {15, "termination signal"}, {2, "interrupt"},          {21, "break request"},
    {8, "floating point exception"},
    {0, "call for undefined signal message"}, {6, "call for undefined signal message"},
    {99, "call for undefined signal message"}, {-99, "call for undefined signal message"},
};

TEST(SignalName, TableAndFallback)
{
    for (const SignalCase& c : SignalCases) EXPECT_STREQ(SignalName(c.number), c.name) << c.number;
}

std::string Reported;
int Capture(const char* text)
{
    Reported = text;
    return 0;
}

TEST(ReportSystemError, SystemTextOrTheCodeInDecimal)
{
    ReportSystemError(Capture, ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(Reported.empty());
    EXPECT_EQ(Reported.find("Error 2"), std::string::npos) << Reported;

    const DWORD noText = 0x2000BEEF;  // the customer bit: never a system code
    ReportSystemError(Capture, noText);
    EXPECT_EQ(Reported, "Error 536919791");
}

std::string Folded(std::string text)
{
    FoldMessageText(&text[0]);
    return text;
}

TEST(MessageBoxes, ShowFormattedAndReportedTexts)
{
    MainWindow = nullptr;
    std::string words;
    while (words.size() < 1000) words += "word ";
    const std::string cut = Folded(words.substr(0, MESSAGE_TEXT_SIZE - 1));

    const char* overlong = words.c_str();
    EXPECT_EQ(WarningDuring(nullptr, [] { ShowWarning(nullptr, "interrupted: %s", SignalName(2)); }),
              "interrupted: interrupt");
    EXPECT_EQ(WarningDuring(nullptr, [] { ShowMessage(nullptr, MB_OK, "Ostrel test", "%d %s", 5, "ft"); }), "5 ft");
    EXPECT_EQ(WarningDuring(nullptr, [] { ReportToMainWindow("100% sure, %s stays\r\n"); }),
              "100% sure, %s stays\r\n");
    EXPECT_EQ(WarningDuring(nullptr, [=] { ReportToMainWindow(overlong); }), cut);
    EXPECT_EQ(WarningDuring(nullptr, [=] { ShowWarning(nullptr, "%s", overlong); }), cut);
    EXPECT_EQ(WarningDuring(nullptr, [=] { ShowMessage(nullptr, MB_OK, nullptr, "%s", overlong); }), cut);
}

}  // namespace
