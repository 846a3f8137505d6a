// Process attach and detach of the three deliverables.
#include <dlfcn.h>

#include "platform/win32.h"
#include "support/machine_fixture.h"

namespace {

class DllMainTest : public zems_test::MachineTest {};

TEST_F(DllMainTest, AttachAndDetachAnswerTrueAndCanRepeat) {
  for (const char* name : {"zemsui.so", "zemsgr.so", "zemsexc.so"}) {
    void* module = dlopen((zems_test::BinDir() + "/" + name).c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(module) << dlerror();
    auto dllMain = reinterpret_cast<BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID)>(dlsym(module, "DllMain"));
    ASSERT_TRUE(dllMain) << name;
    HINSTANCE self = reinterpret_cast<HINSTANCE>(module);
    EXPECT_TRUE(dllMain(self, DLL_PROCESS_ATTACH, nullptr)) << name;
    EXPECT_TRUE(dllMain(self, DLL_THREAD_ATTACH, nullptr)) << name;
    EXPECT_TRUE(dllMain(self, DLL_PROCESS_DETACH, nullptr)) << name;
    EXPECT_TRUE(dllMain(self, DLL_PROCESS_ATTACH, nullptr)) << name << ": attached again";
    EXPECT_TRUE(dllMain(self, DLL_PROCESS_DETACH, nullptr)) << name;
    dlclose(module);
  }
}

}  // namespace
