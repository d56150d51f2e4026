// The system's common controls (comctl32) are registered once, before the first one is made.
#pragma once

namespace forms {

void InitCommonControlClasses();

}  // namespace forms
