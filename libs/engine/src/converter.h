// Progress and stop of the running conversion, readable from any thread.
#pragma once

namespace tz {

void requestStop();
void readProgress(int info[4]);

} // namespace tz
