#pragma once

// The shared icons: ":/icons/common/<name>.png" and ":/icons/resources/pin.png".
// Loading the library registers them; programs call these to register them again after a cleanup.
int qInitResources_icons();
int qCleanupResources_icons();
