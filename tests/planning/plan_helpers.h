// What the plan tests share: the computer's date as plans count it, and a
// plan over a target made up in one line.
#pragma once

#include <vector>

#include "astro/time_zone.h"
#include "planning/acclimation.h"
#include "settings/device_actions.h"

namespace vmx {

inline long long TodayOnComputer() {
  const LocalDateTime now = ComputerClock();
  return DaysFromCivil(now.year, now.month, now.day);
}

inline AcclimationPlan PlanOver(const std::vector<ScheduleRow>& target, int start, int days,
                                long long first) {
  AcclimationPlan p;
  p.startPercent = start;
  p.days = days;
  p.firstDay = first;
  p.target = target;
  return p;
}

}  // namespace vmx
