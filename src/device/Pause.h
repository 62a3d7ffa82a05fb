// The fixed pauses of the keyboard protocol. They add up over long transfers, so a pause
// sleeps to an absolute deadline with the thread's timer slack lowered, instead of rounding
// each one up by the default slack.
#pragma once

void PauseMs(int milliseconds);
