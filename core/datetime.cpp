#include "core/datetime.h"

#include "core/numbers.h"

DateTime TimeOfDay(const DateTime& dateTime)
{
    DateTime result;  // 1 January 2000, midnight
    result.hour = dateTime.hour;
    result.minute = dateTime.minute;
    result.second = dateTime.second;
    return result;
}

Text DateTimeToText(const DateTime& dateTime)
{
    Text result = ConcatTexts(NumberToText(dateTime.year), "年", NumberToText(dateTime.month), "月",
                              NumberToText(dateTime.day), "日");
    // The time part drops its trailing zero fields; midnight has none.
    if (dateTime.second != 0) {
        result += ConcatTexts(NumberToText(dateTime.hour), "时", NumberToText(dateTime.minute), "分",
                              NumberToText(dateTime.second), "秒");
    } else if (dateTime.minute != 0) {
        result += ConcatTexts(NumberToText(dateTime.hour), "时", NumberToText(dateTime.minute), "分");
    } else if (dateTime.hour != 0) {
        result += ConcatTexts(NumberToText(dateTime.hour), "时");
    }
    return result;
}
