#include "app/toolkit.h"

#include <atomic>
#include <system_error>
#include <thread>

namespace tw {
namespace {

std::atomic<ToolkitBackend*> g_backend{nullptr};

ToolkitBackend& Backend() {
  ToolkitBackend* backend = g_backend.load(std::memory_order_acquire);
  if (backend == nullptr) std::terminate();  // a program that forgot InstallToolkitBackend
  return *backend;
}

}  // namespace

void InstallToolkitBackend(ToolkitBackend* backend) { g_backend.store(backend, std::memory_order_release); }

Text ReadControlProperty(Control control, int property) { return Backend().ReadControlProperty(control, property); }

void WriteControlProperty(Control control, int property, const Text& value) {
  Backend().WriteControlProperty(control, property, value);
}

int ShowMessageBox(const Text& text, int buttonCode, const Text& title) {
  return Backend().ShowMessageBox(text, buttonCode, title);
}

bool SetClipboardText(const Text& text) { return Backend().SetClipboardText(text); }

void ApplyVisualStyle(int scheme) { Backend().ApplyVisualStyle(scheme); }

bool StartThread(void (*routine)()) {
  try {
    std::thread(routine).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

}  // namespace tw
