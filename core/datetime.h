// Local date-times to the second and their text form.
#pragma once

#include "core/text.h"

struct DateTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

// The same time of day on 1 January 2000.
DateTime TimeOfDay(const DateTime& dateTime);
// "2000年1月1日14时5分3秒", dropping trailing zero parts of the time.
Text DateTimeToText(const DateTime& dateTime);
