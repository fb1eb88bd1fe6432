// Where a board's acclimation plan lives between runs and how it is written:
// one INI text per board in its plans folder, replaced whole on every change,
// so a crash leaves the old plan or the new one.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "planning/acclimation.h"

namespace vmx {

std::filesystem::path PlanPath(const std::filesystem::path& root, const std::string& boardId);

std::string PlanText(const AcclimationPlan& plan);
// Nothing for a text that is no whole plan.
std::optional<AcclimationPlan> ParsePlan(std::string_view text);

struct PlanLoad {
  std::optional<AcclimationPlan> plan;  // nothing: no plan, or `error`
  std::string error;                    // why a plan file there cannot be used
};
PlanLoad LoadPlan(const std::filesystem::path& root, const std::string& boardId);
// Why it could not be stored; empty once it is.
std::string StorePlan(const std::filesystem::path& root, const std::string& boardId,
                      const AcclimationPlan& plan);

// A calendar date as plans and the command line write it: "2024-06-21".
std::string DateText(long long day);
std::optional<long long> ParseDate(std::string_view text);

}  // namespace vmx
