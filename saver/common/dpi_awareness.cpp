#include "saver/common/dpi_awareness.h"

#include <initializer_list>

namespace tremblix {
namespace {

std::optional<Awareness> FirstTaken(AwarenessRequests& windows,
                                    std::initializer_list<Awareness> ways) {
  for (Awareness way : ways) {
    if (windows.Declare(way)) return way;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Awareness> DeclareRealPixels(AwarenessRequests& windows) {
  return FirstTaken(windows, {Awareness::kPerMonitorV2, Awareness::kPerMonitor,
                              Awareness::kPerMonitorShcore, Awareness::kSystem});
}

std::optional<Awareness> DeclareForDialog(AwarenessRequests& windows) {
  return FirstTaken(windows, {Awareness::kPerMonitorV2, Awareness::kSystem});
}

}  // namespace tremblix
