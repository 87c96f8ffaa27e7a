// Expression conversion: the feet-and-inches form first, then a number and a unit from the table.
#include "convert.h"

#include <cmath>
#include <cstring>

#include "numbers.h"
#include "units.h"

const char DONT_KNOW[] = "don't know";

namespace {

char ResultText[RESULT_TEXT_SIZE];
size_t ResultLength = 0;
static_assert(RESULT_TEXT_SIZE >= FIXED_TEXT_MAX + 1 + TARGET_TEXT_MAX + 1,
              "the longest finite result: the number, a space, the target and the terminator");

constexpr double METRES_PER_FOOT = 0.3048;
constexpr double METRES_PER_INCH = 0.0254;
constexpr double FAHRENHEIT_OFFSET = 32.0;
constexpr double CELSIUS_OFFSET = -17.77777777777778;  // the double nearest to -160/9

constexpr PaddedTarget METRES = {"m", 1};

const char* WriteResult(double value, int decimals, bool spaced, const PaddedTarget& target)
{
    char* end = ResultText + FormatFixed(ResultText, sizeof ResultText, value, decimals);
    *end = ' ';
    end += spaced ? 1 : 0;
    // The whole padded text where it fits, which is everywhere but after the longest numbers.
    ResultLength = static_cast<size_t>(end - ResultText) + target.length;
    if (end + sizeof target.text <= ResultText + sizeof ResultText) {
        std::memcpy(end, target.text, sizeof target.text);
    } else {
        std::memcpy(end, target.text, target.length + 1);
    }
    return ResultText;
}

// A number, an apostrophe right after it, and a second number; whatever follows is ignored.
bool ReadFeetAndInches(const char* text, double* metres)
{
    const char* apostrophe = ScannedNumberEnd(text);
    if (apostrophe == nullptr || *apostrophe != '\'' || ScannedNumberEnd(apostrophe + 1) == nullptr) {
        return false;
    }
    double feet = 0.0;
    double inches = 0.0;
    ReadScannedNumber(text, &feet);
    ReadScannedNumber(apostrophe + 1, &inches);
    const double feetMetres = feet * METRES_PER_FOOT;
    const double inchMetres = inches * METRES_PER_INCH;
    *metres = feetMetres + inchMetres;
    return true;
}

}  // namespace

const char* ConvertExpression(char* text)
{
    if (text == nullptr) return nullptr;

    double number = 0.0;
    char* unit = text + (ReadPlainNumber(text, &number) - text);
    // The feet-and-inches form goes first. Its first number starts where the plain number does
    // and ends where that one ends, or after an exponent letter and sign that the plain number
    // leaves out: only an apostrophe or an e after the plain number can begin the form.
    double metres = 0.0;
    if (unit != text && (*unit == '\'' || *unit == 'e' || *unit == 'E') && ReadFeetAndInches(text, &metres)) {
        return WriteResult(metres, 2, true, METRES);
    }
    if (std::isinf(number) && number > 0) return nullptr;

    const int index = TrimAndLookupUnit(unit);  // an empty unit part is no spelling either
    if (index == UNIT_NOT_FOUND) return nullptr;

    const Conversion& conversion = ConversionTable[index];
    double value = static_cast<double>(conversion.factor) * number;
    if (index == CONV_CELSIUS_TO_F || index == CONV_FAHRENHEIT_TO_C) {
        value += index == CONV_CELSIUS_TO_F ? FAHRENHEIT_OFFSET : CELSIUS_OFFSET;
        return WriteResult(value, 0, false, PaddedTargets[index]);
    }
    return WriteResult(value, 2, true, PaddedTargets[index]);
}

const char* ConvertForDisplay(char* text)
{
    size_t length = 0;
    return ConvertForDisplay(text, &length);
}

const char* ConvertForDisplay(char* text, size_t* length)
{
    if (ConvertExpression(text) != nullptr) {
        *length = ResultLength;
        return ResultText;
    }
    const bool blank = text == nullptr || *text == '\0';
    *length = blank ? 0 : sizeof DONT_KNOW - 1;
    return blank ? "" : DONT_KNOW;
}
