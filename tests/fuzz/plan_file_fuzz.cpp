// Stored acclimation plans as a damaged or edited file may hold them: a text
// read as a plan gives a plan whose steps can be computed and whose text
// reads back as the same plan.
#include <cstdint>
#include <string_view>

#include "planning/acclimation.h"
#include "planning/plan_file.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vmx;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto channels = ParseChannelSet(text))
    FUZZ_CHECK(ParseChannelSet(ChannelSetText(*channels)) == channels);
  const auto plan = ParsePlan(text);
  if (!plan) return 0;
  FUZZ_CHECK(ValidPlanSettings(plan->startPercent, plan->days, plan->channels));
  FUZZ_CHECK(ParsePlan(PlanText(*plan)) == plan);
  for (const long long day : {-1LL, 0LL, 1LL, static_cast<long long>(plan->days), 1000LL}) {
    const StepDecision step = DecideStep(*plan, plan->written, plan->firstDay + day);
    if (step.kind == StepDecision::Kind::Write) FUZZ_CHECK(step.rows.size() == plan->target.size());
    for (const ScheduleRow& row : StepRows(*plan, static_cast<int>(day)))
      for (const int16_t level : row.Color16) FUZZ_CHECK(level <= 4096);
  }
  return 0;
}
