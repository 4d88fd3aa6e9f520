#include "database/qad_task.h"


namespace QETLib {

void QADTask::SetPhase(std::string_view tag) {
  phase_ = Translate(tag);
  if (sink_) sink_(phase_, progress_);
}

void QADTask::SetProgress(double fraction) {
  progress_ = fraction < 0 ? 0 : (fraction > 1 ? 1 : fraction);
  if (sink_) sink_(phase_, progress_);
}

void QADTask::Report(int severity, std::string_view tag, const MessageParams& params, std::optional<KUID> asset) {
  if (severity == Warning) ++warnings_;
  if (severity == Error) ++errors_;
  log_.AddTagged(severity, asset, tag, params);
}

}  // namespace QETLib
