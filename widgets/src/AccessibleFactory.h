#pragma once
// Tells Qt's accessibility how to present the painted widgets of this
// folder (picture buttons, transparent labels). Installed once, by the
// first such widget made.

namespace vt::widgets {

void InstallAccessibleFactory();

}  // namespace vt::widgets
