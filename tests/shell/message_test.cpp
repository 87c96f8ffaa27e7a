// Message boxes, signal names and system error texts, with boxes noted instead of shown.
#include "app.h"
#include "message.h"
#include "winutil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The numbers of this platform's C library.
const struct {
    int number;
    const char* name;
} SignalCases[] = {
    {11, "segmentation error"}, {4, "illegal instruction"}, {22, "abort signal"}, {15, "termination signal"},
    {2, "interrupt"}, {21, "break request"}, {8, "floating point exception"},
    {0, "call for undefined signal message"}, {6, "call for undefined signal message"},
};

TEST(SignalName, TableAndFallback)
{
    for (const auto& c : SignalCases) EXPECT_STREQ(SignalName(c.number), c.name) << c.number;
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
    EXPECT_NE(Reported.find_first_not_of(" \r\n"), std::string::npos);
    EXPECT_EQ(Reported.find("Error 2"), std::string::npos) << Reported;
    ReportSystemError(Capture, 0x2000BEEF);  // the customer bit: never a system code
    EXPECT_EQ(Reported, "Error 536919791");
}

// An unbreakable first line stops folding, so only the cut to 403 characters shows.
const std::string Overlong(1000, 'x');
HWND const Main = reinterpret_cast<HWND>(0x1234);

const struct {
    const char* name;
    void (*show)();
    std::string text;
    HWND owner;
} BoxCases[] = {
    {"warning", [] { ShowWarning(nullptr, "%d %s", 5, "ft"); }, "5 ft", nullptr},
    {"report: no format", [] { ReportToMainWindow("100% sure, %s stays"); }, "100% sure, %s stays", Main},
    {"overlong report", [] { ReportToMainWindow(Overlong.c_str()); }, std::string(403, 'x'), Main},
    {"overlong warning", [] { ShowWarning(Main, "%s", Overlong.c_str()); }, std::string(403, 'x'), Main},
    {"overlong message", [] { ShowMessage(nullptr, MB_OK, "t", "%s", Overlong.c_str()); }, std::string(403, 'x'),
     nullptr},
};

TEST(MessageBoxes, ShowFormattedAndReportedTextsCutTo403)
{
    NoteMessageBoxes();
    MainWindow = Main;
    for (const auto& c : BoxCases) {
        LastBox = {};
        c.show();
        EXPECT_EQ(LastBox.text, c.text) << c.name;
        EXPECT_EQ(LastBox.owner, c.owner) << c.name;
    }
    MainWindow = nullptr;
}

}  // namespace
