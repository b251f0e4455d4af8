// Which graphics drivers draw on the processor: where one is all a machine has, the GPU's way of
// presenting costs more than the processor's own, on the desktop and in the browser alike.
#pragma once

namespace platform {

// True for the name a driver gives itself (OpenGL's or WebGL's renderer string) when it is a
// software rasteriser: Mesa's llvmpipe, softpipe and lavapipe, OpenSWR, Google's SwiftShader.
bool softwareRasteriser(const char* name);

} // namespace platform
