// Soak: many ticks driven in-process, with the settings re-applied now and then, while the
// GDI and USER objects in use, the kernel handles and the private bytes are watched.
// RIPPLET_SOAK_TICKS sets the count (make soak runs 1,000,000; make test a smaller count).
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/main_form.h"
#include "sampling/sampler.h"
#include "sampling/win_traffic_source.h"
#include "tests/support/gdi_objects.h"
#include "tests/support/in_place_source.h"
#include "tests/support/temp_dir.h"
#include "win32/win_application.h"

namespace ripplet {
namespace {

SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof(pmc);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                         sizeof(pmc));
  // Wine leaves PrivateUsage at 0 and reports the committed private memory as the page-file
  // usage, which is what Windows' PrivateUsage means.
  return pmc.PrivateUsage != 0 ? pmc.PrivateUsage : pmc.PagefileUsage;
}

long SoakTicks() {
  const char* env = std::getenv("RIPPLET_SOAK_TICKS");
  return env ? std::atol(env) : 50000;
}

TEST(Soak, GdiObjectsAndPrivateBytesStayFlat) {
  const long ticks = SoakTicks();
  testing::TempDir dir;
  const std::wstring ini = dir.File(L"soak.ini");
  std::ofstream(std::filesystem::path(ini), std::ios::binary)
      << "[Settings]\r\nAdapterName=lo\r\nValueInterval=3\r\nInterval=30000\r\n";
  Application application(L"Ripplet_soak");
  testing::InPlaceSource source;
  TMainForm form(source, {dir.File(L"ripplet.exe"), L"x \"-i:" + ini + L"\"", false});
  form.Create(application.Handle());
  form.Show();

  const auto run = [&](long count) {
    for (long i = 0; i < count; ++i) {
      source.Add(static_cast<std::uint32_t>((i * 7919) % 900000),
                 static_cast<std::uint32_t>(i % 150000));
      form.MainTimerTimer();
      if (i % 64 == 0) ::UpdateWindow(form.Handle());  // repaint now and then, as the loop would
      if (i % 20000 == 19999) form.ApplySettings();    // as a resize or OK would
    }
  };
  run(ticks / 10);  // warm up: caches, the back buffer, the fonts
  const std::size_t gdi_before = testing::CreatableGdiObjects();
  const std::size_t user_before = testing::CreatableUserObjects();
  const std::uintptr_t handle_before = testing::NextKernelHandle();
  const SIZE_T private_before = PrivateBytes();
  std::printf(
      "soak: %ld ticks; before: %zu GDI and %zu USER objects creatable, next handle "
      "%#zx, %zu KiB private\n",
      ticks, gdi_before, user_before, static_cast<std::size_t>(handle_before),
      private_before / 1024);
  run(ticks);
  const std::size_t gdi_after = testing::CreatableGdiObjects();
  const std::size_t user_after = testing::CreatableUserObjects();
  const std::uintptr_t handle_after = testing::NextKernelHandle();
  const SIZE_T private_after = PrivateBytes();
  std::printf(
      "soak: after:  %zu GDI and %zu USER objects creatable, next handle %#zx, "
      "%zu KiB private\n",
      gdi_after, user_after, static_cast<std::size_t>(handle_after), private_after / 1024);
  ASSERT_LT(gdi_before, 70000u) << "the count must reach the GDI handle table's limit";
  ASSERT_LT(user_before, 70000u) << "the count must reach the USER handle table's limit";
  EXPECT_EQ(gdi_after, gdi_before) << "GDI objects leaked";
  EXPECT_EQ(user_after, user_before) << "USER objects leaked";
  EXPECT_EQ(handle_after, handle_before) << "a kernel handle leaked";
  EXPECT_LT(private_after, private_before + 256 * 1024) << "private bytes grew";
}

// The platform's side of a tick, which the test above fakes: the watched row read from the
// real interface table (adapter lo). A tenth of the ticks, since each is a real call.
TEST(Soak, RealWatchedReadsKeepPrivateBytesFlat) {
  const long samples = SoakTicks() / 10;
  IpHelperTrafficSource source;
  Sampler sampler(source);
  sampler.RefreshIfTable();
  if (!FindAdapter(sampler.Table(), "lo")) GTEST_SKIP() << "no interface named lo";
  sampler.LookupAdapter("lo");
  sampler.Prime("lo");
  ASSERT_TRUE(sampler.Watching());
  RatePair pair;
  for (long i = 0; i < samples / 10; ++i) sampler.SampleTraffic("lo", pair);  // warm up
  const std::uintptr_t handle_before = testing::NextKernelHandle();
  const SIZE_T private_before = PrivateBytes();
  for (long i = 0; i < samples; ++i) sampler.SampleTraffic("lo", pair);
  const SIZE_T private_after = PrivateBytes();
  const std::uintptr_t handle_after = testing::NextKernelHandle();
  std::printf("soak: %ld real samples; %zu KiB private before, %zu KiB after\n", samples,
              private_before / 1024, private_after / 1024);
  EXPECT_TRUE(sampler.Watching()) << "the watch was lost on the way";
  EXPECT_EQ(handle_after, handle_before) << "a kernel handle leaked";
  EXPECT_LT(private_after, private_before + 64 * 1024) << "private bytes grew";
}

}  // namespace
}  // namespace ripplet
