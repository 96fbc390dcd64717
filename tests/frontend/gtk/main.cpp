// GTK needs a display before any test runs; CTest starts each test under
// xvfb-run. Listing the tests touches no display.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdio>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "no display: run the GTK tests under xvfb-run\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
