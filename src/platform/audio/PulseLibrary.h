// The functions of libpulse that the loopback capture calls, looked up in the library when the
// capture first connects, so that a program that never captures never maps the library and
// what it pulls in. The types and constants come from libpulse's headers.
#pragma once

#include <pulse/pulseaudio.h>

#include <string>

namespace audio {

inline constexpr const char* kPulseLibraryName = "libpulse.so.0";

#define TV_PULSE_FUNCTIONS(X)            \
    X(pa_channel_map_init_stereo)        \
    X(pa_context_connect)                \
    X(pa_context_disconnect)             \
    X(pa_context_errno)                  \
    X(pa_context_get_server_info)        \
    X(pa_context_get_sink_info_by_name)  \
    X(pa_context_get_state)              \
    X(pa_context_new)                    \
    X(pa_context_set_state_callback)     \
    X(pa_context_set_subscribe_callback) \
    X(pa_context_subscribe)              \
    X(pa_context_unref)                  \
    X(pa_operation_cancel)               \
    X(pa_operation_unref)                \
    X(pa_stream_connect_record)          \
    X(pa_stream_cork)                    \
    X(pa_stream_disconnect)              \
    X(pa_stream_drop)                    \
    X(pa_stream_flush)                   \
    X(pa_stream_get_state)               \
    X(pa_stream_new)                     \
    X(pa_stream_peek)                    \
    X(pa_stream_readable_size)           \
    X(pa_stream_set_state_callback)      \
    X(pa_stream_unref)                   \
    X(pa_strerror)                       \
    X(pa_threaded_mainloop_free)         \
    X(pa_threaded_mainloop_get_api)      \
    X(pa_threaded_mainloop_in_thread)    \
    X(pa_threaded_mainloop_lock)         \
    X(pa_threaded_mainloop_new)          \
    X(pa_threaded_mainloop_start)        \
    X(pa_threaded_mainloop_stop)         \
    X(pa_threaded_mainloop_unlock)       \
    X(pa_usec_to_bytes)

struct PulseLibrary {
#define TV_PULSE_POINTER(name) decltype(&::name) name = nullptr;
    TV_PULSE_FUNCTIONS(TV_PULSE_POINTER)
#undef TV_PULSE_POINTER
};

// The table of library `name`, loaded at the first call for that name (from any thread) and
// kept until the process ends; null when the library or one of its functions is missing, and
// then `error` says why. A failure is final too.
const PulseLibrary* LoadPulseLibrary(const std::string& name, std::string& error);

}  // namespace audio
