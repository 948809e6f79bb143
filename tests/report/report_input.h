// A filled-in window, as the report tests and tools use it: every factor field holds a value of its
// own, none equal to a fixed value of the foreign variant, so a field read in the wrong place shows.
#pragma once

#include "report/report.h"

namespace report::testing {

inline ReportInput sampleInput(bool foreign = false, bool excludeKp = false)
{
    ReportInput in;
    in.foreign = foreign;
    in.excludeKp = excludeKp;
    in.tb = "1980";
    in.kt = "1,8";
    in.kbm = "0,95";
    in.kvs = "1,15";
    in.ko = "1,5";
    in.km = "1,3";
    in.ks = "0,7";
    in.kp = "0,9";
    in.kn = "1,5";
    in.total = "4321,09";
    in.startDate = "15.03.2024";
    in.startTime = "9:41:07";
    return in;
}

} // namespace report::testing
