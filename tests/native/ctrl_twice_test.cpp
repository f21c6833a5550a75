// Which key sequences call the list with a double press of Ctrl.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ctrl_twice.h"

namespace {

struct Key {
  char key;  // 'c' for Ctrl, any other letter for another key
  bool down;
  std::uint32_t at;
};

// How many calls the sequence makes.
int Calls(const std::vector<Key>& keys) {
  CtrlTwice recogniser;
  int calls = 0;
  for (const Key& k : keys)
    calls += recogniser.Feed(k.key == 'c' ? KeyKind::kCtrl : KeyKind::kOther, k.down, k.at);
  return calls;
}

}  // namespace

TEST(CtrlTwice, CallsOnlyForTwoBarePressesInTime) {
  const struct {
    const char* what;
    std::vector<Key> keys;
    int calls;
  } cases[] = {
      {"twice in time", {{'c', 1, 0}, {'c', 0, 50}, {'c', 1, 300}, {'c', 0, 350}}, 1},
      {"a held key's repeats", {{'c', 1, 0}, {'c', 1, 30}, {'c', 0, 60}, {'c', 1, 200},
                                {'c', 1, 230}, {'c', 0, 260}}, 1},
      {"too slow, then a pair", {{'c', 1, 0}, {'c', 0, 50}, {'c', 1, 451}, {'c', 0, 500},
                                 {'c', 1, 700}, {'c', 0, 720}}, 1},
      {"Ctrl+C twice", {{'c', 1, 0}, {'x', 1, 10}, {'x', 0, 20}, {'c', 0, 30}, {'c', 1, 100},
                        {'x', 1, 110}, {'x', 0, 120}, {'c', 0, 130}}, 0},
      {"a key between", {{'c', 1, 0}, {'c', 0, 50}, {'x', 1, 100}, {'x', 0, 120},
                         {'c', 1, 200}, {'c', 0, 250}}, 0},
      {"Ctrl+V as the second press", {{'c', 1, 0}, {'c', 0, 50}, {'c', 1, 100}, {'v', 1, 110},
                                      {'v', 0, 120}, {'c', 0, 130}}, 0},
      {"four presses are two calls", {{'c', 1, 0}, {'c', 0, 10}, {'c', 1, 20}, {'c', 0, 30},
                                     {'c', 1, 40}, {'c', 0, 50}, {'c', 1, 60}, {'c', 0, 70}}, 2},
      {"the clock wraps", {{'c', 1, 0xFFFFFF00u}, {'c', 0, 0xFFFFFF80u}, {'c', 1, 0x40},
                           {'c', 0, 0x60}}, 1},
  };
  for (const auto& c : cases) EXPECT_EQ(Calls(c.keys), c.calls) << c.what;
}
