// Expression conversion: the feet-and-inches form first, then a number and a unit from the table.
#include "convert.h"

#include <cmath>
#include <cstring>

#include "numbers.h"
#include "text.h"
#include "units.h"

const char DONT_KNOW[] = "don't know";

namespace {

char ResultText[RESULT_TEXT_SIZE];

constexpr double METRES_PER_FOOT = 0.3048;
constexpr double METRES_PER_INCH = 0.0254;
constexpr double FAHRENHEIT_OFFSET = 32.0;
constexpr double CELSIUS_OFFSET = -17.77777777777778;  // the double nearest to -160/9

// Appends text at ResultText[length] unless it would not fit; returns the new length.
size_t AppendResult(size_t length, const char* text)
{
    const size_t textLength = std::strlen(text);
    if (length + textLength >= sizeof ResultText) return length;  // not for any finite value
    std::memcpy(ResultText + length, text, textLength + 1);
    return length + textLength;
}

const char* WriteResult(double value, int decimals, const char* separator, const char* target)
{
    const size_t length = FormatFixed(ResultText, sizeof ResultText, value, decimals);
    AppendResult(AppendResult(length, separator), target);
    return ResultText;
}

// A number, an apostrophe right after it, and a second number; whatever follows is ignored.
bool ReadFeetAndInches(const char* text, double* metres)
{
    // Scan before converting: most inputs are not in this form.
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

    double metres = 0.0;
    if (ReadFeetAndInches(text, &metres)) return WriteResult(metres, 2, " ", "m");

    double number = 0.0;
    char* unit = text + (ReadPlainNumber(text, &number) - text);
    if (std::isinf(number) && number > 0) return nullptr;

    unit = TrimSpace(unit);
    if (*unit == '\0') return nullptr;
    const int index = LookupUnit(unit);
    if (index == UNIT_NOT_FOUND) return nullptr;

    const Conversion& conversion = ConversionTable[index];
    double value = static_cast<double>(conversion.factor) * number;
    if (index == CONV_CELSIUS_TO_F || index == CONV_FAHRENHEIT_TO_C) {
        value += index == CONV_CELSIUS_TO_F ? FAHRENHEIT_OFFSET : CELSIUS_OFFSET;
        return WriteResult(value, 0, "", conversion.target);
    }
    return WriteResult(value, 2, " ", conversion.target);
}

const char* ConvertForDisplay(char* text)
{
    const char* result = ConvertExpression(text);
    if (result != nullptr) return result;
    return text != nullptr && *text != '\0' ? DONT_KNOW : "";
}
