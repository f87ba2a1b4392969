#include "util/app_context.h"

AppContext::~AppContext() {
  if (atExit) atExit(*this);
  atExit = nullptr;
  langTexts.Clear();
}

AppContext& GetAppContext() {
  static AppContext app;
  return app;
}
