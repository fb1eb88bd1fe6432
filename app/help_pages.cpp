#include "app/help_pages.h"

namespace vmx {
namespace {

constexpr std::string_view kHelpSite = "https://www.velmarinex.de/wiki/";

}  // namespace

std::string HelpPageUrl(std::string_view topic, bool german) {
  std::string url(kHelpSite);
  url += german ? "doku.php?id=velmarinex2x:" : "doku.php?id=en:velmarinex2x:";
  url += topic;
  return url;
}

}  // namespace vmx
