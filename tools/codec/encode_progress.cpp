#include "tools/codec/encode_progress.h"

namespace codec {
namespace {

EncodeProgressFunction observer = nullptr;
void* observerContext = nullptr;

}  // namespace

void SetEncodeProgress(EncodeProgressFunction function, void* context) {
  observer = function;
  observerContext = context;
}

void ReportEncodeProgress(int64_t done, int64_t total) {
  if (observer != nullptr) observer(observerContext, done, total);
}

}  // namespace codec
