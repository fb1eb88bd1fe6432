#include "editor/channels_page.h"

namespace vmx {

ChannelsPage::ChannelsPage(TfrmLantix& form, const char* name, int firstChannel)
    : Page(form, name), firstChannel_(firstChannel) {}

}  // namespace vmx
