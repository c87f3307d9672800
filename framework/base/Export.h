// ZORP_API marks the classes and functions the shared libraries export: what
// the installed headers declare. The libraries are built with hidden
// visibility, so everything else stays inside them.
#pragma once

#define ZORP_API __attribute__((visibility("default")))
