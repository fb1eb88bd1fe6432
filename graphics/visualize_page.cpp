#include "graphics/visualize_page.h"

namespace vmx {

VisualizePage::VisualizePage(TfrmLantix& form) : Page(form, "tsVisualize") {}

}  // namespace vmx
