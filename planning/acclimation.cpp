#include "planning/acclimation.h"

#include <algorithm>
#include <cctype>

namespace vmx {
namespace {

constexpr int kFull = 4096;

bool Planned(const AcclimationPlan& plan, size_t channel) {
  return (plan.channels >> channel) & 1u;
}

// The factor as a fraction of whole numbers, percent = num / den x 100, so
// scaled levels round exactly.
struct Factor {
  long long num, den;
};
Factor FactorOf(const AcclimationPlan& plan, int day) {
  const long long d = std::clamp(day, 0, plan.days);
  return {plan.startPercent * static_cast<long long>(plan.days) + (100 - plan.startPercent) * d,
          100LL * plan.days};
}

// n / d rounded half to even; d > 0.
long long DivideHalfEven(long long n, long long d) {
  long long q = n / d, r = n % d;
  if (r < 0) {
    r += d;
    --q;
  }
  if (2 * r > d || (2 * r == d && (q & 1))) ++q;
  return q;
}

// Whether each row on the board is the one the plan put there last or the
// one it was putting there (before the first step the target stands for the
// former).
bool OursOrMidWrite(const AcclimationPlan& plan, std::span<const ScheduleRow> board) {
  const std::vector<ScheduleRow>& last = plan.written.empty() ? plan.target : plan.written;
  if (board.size() != last.size()) return false;
  for (size_t i = 0; i < board.size(); ++i) {
    const bool before = board[i] == last[i];
    const bool during = i < plan.writing.size() && board[i] == plan.writing[i];
    if (!before && !during) return false;
  }
  return true;
}

}  // namespace

bool ValidPlanSettings(int startPercent, int days, uint16_t channels) {
  return startPercent >= 0 && startPercent <= 100 && days >= 1 && days <= 365 &&
         (channels & kAllChannels) != 0 && (channels & ~kAllChannels) == 0;
}

double DayFactorPercent(const AcclimationPlan& plan, int day) {
  if (plan.days < 1) return 100;
  const Factor f = FactorOf(plan, day);
  return 100.0 * static_cast<double>(f.num) / static_cast<double>(f.den);
}

int16_t ScaleLevel(int level, const AcclimationPlan& plan, int day) {
  if (plan.days < 1) return static_cast<int16_t>(std::clamp(level, 0, kFull));
  const Factor f = FactorOf(plan, day);
  return static_cast<int16_t>(std::clamp<long long>(DivideHalfEven(level * f.num, f.den), 0, kFull));
}

std::vector<ScheduleRow> StepRows(const AcclimationPlan& plan, int day) {
  std::vector<ScheduleRow> rows = plan.target;
  if (day >= plan.days) return rows;
  for (ScheduleRow& row : rows)
    for (size_t c = 0; c < kChannels; ++c)
      if (Planned(plan, c)) row.Color16[c] = ScaleLevel(row.Color16[c], plan, day);
  return rows;
}

StepDecision DecideStep(const AcclimationPlan& plan, std::span<const ScheduleRow> board,
                        long long today) {
  StepDecision step;
  if (plan.state != AcclimationPlan::State::Running) return step;
  if (!OursOrMidWrite(plan, board)) {
    step.kind = StepDecision::Kind::Pause;
    return step;
  }
  const long long day = today - plan.firstDay;
  if (day < 0) return step;
  step.day = static_cast<int>(std::min<long long>(day, plan.days));
  const bool complete = std::equal(board.begin(), board.end(), plan.written.begin(),
                                   plan.written.end());
  if (step.day == plan.appliedDay && complete) return step;
  step.kind = StepDecision::Kind::Write;
  step.rows = StepRows(plan, step.day);
  step.finishes = step.day >= plan.days;
  return step;
}

void StepDone(AcclimationPlan& plan, const StepDecision& step) {
  plan.written = step.rows;
  plan.writing.clear();
  plan.appliedDay = step.day;
  ++plan.saves;
  if (step.finishes) plan.state = AcclimationPlan::State::Finished;
}

void Pause(AcclimationPlan& plan) {
  plan.state = AcclimationPlan::State::Paused;
}

void Resume(AcclimationPlan& plan, std::span<const ScheduleRow> board) {
  if (plan.state != AcclimationPlan::State::Paused) return;
  plan.state = AcclimationPlan::State::Running;
  plan.written.assign(board.begin(), board.end());
  plan.writing.clear();
  plan.appliedDay = -1;
}

void AdoptEdit(AcclimationPlan& plan, std::span<const ScheduleRow> edited, long long today) {
  const int day = static_cast<int>(std::clamp<long long>(today - plan.firstDay, 0, plan.days));
  const Factor f = FactorOf(plan, day);
  std::vector<ScheduleRow> target(edited.begin(), edited.end());
  for (size_t i = 0; i < target.size(); ++i) {
    const bool known = i < plan.target.size() && i < plan.written.size();
    for (size_t c = 0; c < kChannels; ++c) {
      if (!Planned(plan, c)) continue;
      int16_t& level = target[i].Color16[c];
      // A level the edit left alone keeps its target; at a factor of 0 no
      // level tells its target.
      if (known && level == plan.written[i].Color16[c])
        level = plan.target[i].Color16[c];
      else if (f.num > 0)
        level = static_cast<int16_t>(
            std::clamp<long long>(DivideHalfEven(level * f.den, f.num), 0, kFull));
      else if (i < plan.target.size())
        level = plan.target[i].Color16[c];
    }
  }
  plan.target = std::move(target);
  plan.written.assign(edited.begin(), edited.end());
  plan.writing.clear();
}

std::optional<uint16_t> ParseChannelSet(std::string_view text) {
  if (text == "all" || text == "ALL") return kAllChannels;
  uint16_t set = 0;
  auto letter = [](char c) {
    const int i = std::toupper(static_cast<unsigned char>(c)) - 'A';
    return i >= 0 && i < kChannels ? i : -1;
  };
  size_t i = 0;
  while (i < text.size()) {
    const int first = letter(text[i]);
    if (first < 0) return std::nullopt;
    int last = first;
    ++i;
    if (i < text.size() && text[i] == '-') {
      if (i + 1 >= text.size() || (last = letter(text[i + 1])) < first) return std::nullopt;
      i += 2;
    }
    for (int c = first; c <= last; ++c) set = static_cast<uint16_t>(set | (1u << c));
    if (i < text.size() && text[i] == ',') {
      if (++i >= text.size()) return std::nullopt;
    }
  }
  if (set == 0) return std::nullopt;
  return set;
}

std::string ChannelSetText(uint16_t channels) {
  std::string text;
  for (int c = 0; c < kChannels;) {
    if (!((channels >> c) & 1u)) {
      ++c;
      continue;
    }
    int last = c;
    while (last + 1 < kChannels && ((channels >> (last + 1)) & 1u)) ++last;
    if (!text.empty()) text += ',';
    text += static_cast<char>('A' + c);
    if (last > c) text += std::string("-") + static_cast<char>('A' + last);
    c = last + 1;
  }
  return text;
}

}  // namespace vmx
