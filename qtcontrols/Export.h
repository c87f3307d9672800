// ZORPQT_API marks what the zorpqt library exports: the widgets and the
// helpers its public headers declare. The library is built with hidden
// visibility, so everything else stays inside it.
#pragma once

#define ZORPQT_API __attribute__((visibility("default")))
