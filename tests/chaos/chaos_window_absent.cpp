// The chaos host's window where the build has no window system to drive
// (no X11 with XTEST): the editor cases say so and are skipped.
#include "tests/chaos/chaos_window.h"

struct ChaosWindow::State {};

std::unique_ptr<ChaosWindow> ChaosWindow::Connect(std::string& why) {
  why = "this build drives no window system";
  return nullptr;
}

ChaosWindow::ChaosWindow(std::unique_ptr<State> state) : state_(std::move(state)) {}
ChaosWindow::~ChaosWindow() = default;
void* ChaosWindow::CreateParent(int, int) { return nullptr; }
void ChaosWindow::DestroyParent() {}
bool ChaosWindow::HasParent() const { return false; }
int ChaosWindow::ChildWindows() { return 0; }
void ChaosWindow::Pump(int) {}
void ChaosWindow::MoveTo(int, int) {}
void ChaosWindow::Button(int, bool) {}
void ChaosWindow::Wheel(int) {}
void ChaosWindow::Key(ChaosKey, char, bool) {}
void ChaosWindow::ReleaseAll() {}