#include "content/error_handler.h"

#include <cstdarg>
#include <mutex>

#include "engine/quorix_ex.h"
#include "engine/text.h"

namespace QETLib {

namespace {
std::mutex g_lock;
ErrorHandler::Factory g_factory;
std::unique_ptr<ErrorHandler> g_handler;
}  // namespace

void ErrorHandler::Raise(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string message = Orb::FormatV(fmt, args);
  va_end(args);
  Orb::RaiseError(message);
}

void ErrorHandler::SetFactory(Factory factory) {
  std::lock_guard<std::mutex> guard(g_lock);
  g_factory = std::move(factory);
}

void ErrorHandler::Create() {
  std::lock_guard<std::mutex> guard(g_lock);
  if (g_handler) return;
  g_handler = g_factory ? g_factory() : nullptr;
  if (!g_handler) g_handler = std::make_unique<ErrorHandler>();
}

void ErrorHandler::Destroy() {
  std::unique_ptr<ErrorHandler> gone;
  std::lock_guard<std::mutex> guard(g_lock);
  gone = std::move(g_handler);
}

ErrorHandler* ErrorHandler::Current() {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_handler.get();
}

}  // namespace QETLib
