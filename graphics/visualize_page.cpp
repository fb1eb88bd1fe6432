#include "graphics/visualize_page.h"

namespace vmx {

VisualizePage::VisualizePage(PageContext& context) : Page(context, "tsVisualize") {}

}  // namespace vmx
