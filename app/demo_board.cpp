#include "app/demo_board.h"

namespace vmx {

DemoBoard::DemoBoard() : server_(board_) {}

void DemoBoard::Start() {
  server_.Start();
}

}  // namespace vmx
