#pragma once
// GDI+ for the engine's decoders. The application may start GDI+ itself (its frame does);
// EnsureGdiplus starts it once for the engine too, which is harmless since GDI+ counts
// its starts. Returns false when GDI+ cannot be started.

namespace bistrope::detail {

bool EnsureGdiplus();

}  // namespace bistrope::detail
