// The real main window in this process, started as the program starts it, with the fakes as its
// core library and the real base controls.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "contracts/Object.h"
#include "fakes/Fakes.h"
#include "host/frmMain.h"

namespace vx::hosttest {

using Calls = std::vector<std::string>;

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the main window and runs its start-up with these program arguments.
  void Load(std::wstring_view arguments = L"");
  // Load, then show the window as the program does (the first activation).
  void Start();
  // Handles the messages waiting in the queue.
  static void Pump();

  HWND Window() const { return host->Handle(); }
  RECT Bounds() const;
  // Width and height of Bounds().
  std::pair<int, int> Size() const;
  // What IGui::GetGeometry reads.
  std::u16string Geometry();

  fakes::Fakes& fakes = fakes::TheFakes();
  Ref<frmMain> host;

 private:
  int32_t liveObjects_ = 0;
};

// True when text matches the regular expression (ECMAScript) as a whole.
bool Matches(std::u16string_view text, const std::string& pattern);

}  // namespace vx::hosttest
