// A page of one Expert-weather byte per channel under an explanatory text:
// the Moon and the Delays pages differ only in their names and numbers.
#pragma once

#include "editor/channel_rows.h"
#include "ui/page.h"

namespace vmx {

class ChannelRowsPage : public Page {
  Q_OBJECT

 public:
  // `prefix` names the rows' controls (prefix0 .. prefix11) and their
  // binding rows; `textName` is the label above them.
  ChannelRowsPage(PageContext& context, const char* pageName, const char* textName,
                  const char* prefix, int editWidth);

  void Apply(RecordKind record) override;
  void ChannelColorsChanged() override;
  void LanguageApplied() override { ChannelColorsChanged(); }

 private:
  ChannelRows rows_;
};

}  // namespace vmx
