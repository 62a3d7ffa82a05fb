// The outcome of the last software or firmware check.
#pragma once

enum UpdateState : int {
    UPDATE_AVAILABLE = 1,
    UPDATE_NONE = 2,
};
