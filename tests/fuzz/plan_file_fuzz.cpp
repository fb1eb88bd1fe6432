// Stored acclimation plans as a damaged or edited file may hold them: a text
// read as a plan gives a plan whose steps can be computed and whose text
// reads back as the same plan.
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

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
    // A step scales the planned channels down into 0..4096 and leaves the
    // others alone; the last gives back the target as the board held it (a
    // board may hold more than 4096: levels are cut to the field, not to 100 %).
    const std::vector<ScheduleRow> rows = StepRows(*plan, static_cast<int>(day));
    FUZZ_CHECK(rows.size() == plan->target.size());
    for (size_t r = 0; r < rows.size(); ++r)
      for (size_t c = 0; c < kChannels; ++c) {
        const int target = plan->target[r].Color16[c], level = rows[r].Color16[c];
        if (day >= plan->days || !((plan->channels >> c) & 1u))
          FUZZ_CHECK(level == target);
        else
          FUZZ_CHECK(level >= 0 && level <= 4096 && level <= std::max(target, 0));
      }
  }
  return 0;
}
