// The PulseAudio capture against no server and against a private daemon with two null sinks.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/PulseLoopbackCapture.h"
#include "support/PulseDaemon.h"
#include "support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using audio::DataFlow;
using audio::DeviceRole;
using testsupport::WaitUntil;
using Clock = std::chrono::steady_clock;

constexpr int kTimeoutMs = 2000;

// Points the client library at `address` for the test's lifetime.
class ServerAddress {
public:
    explicit ServerAddress(const std::string& address)
    {
        setenv("PULSE_SERVER", address.c_str(), 1);
    }
    ~ServerAddress() { unsetenv("PULSE_SERVER"); }
};

struct Change {
    DataFlow flow;
    DeviceRole role;
    std::string id;
};

class RecordingClient : public audio::EndpointNotificationClient {
public:
    void OnDefaultDeviceChanged(DataFlow flow, DeviceRole role, const std::string& id) override
    {
        std::lock_guard lock(mutex_);
        changes_.push_back({flow, role, id});
        changed_.notify_all();
    }
    // The first render-flow change, waiting at most `limit`.
    std::string WaitForRenderChange(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(mutex_);
        std::string id;
        changed_.wait_for(lock, limit, [&] {
            for (const Change& change : changes_) {
                if (change.flow == DataFlow::Render) {
                    id = change.id;
                    return true;
                }
            }
            return false;
        });
        return id;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Change> changes_;
};

// Reads until packets carrying sound arrive; the largest sample seen.
float ReadLoudest(audio::PulseLoopbackCapture& capture, std::chrono::milliseconds limit,
                  bool& framesMatch)
{
    float loudest = 0.0f;
    framesMatch = true;
    WaitUntil(
        [&] {
            capture.Read([&](std::span<const float> samples, size_t frames) {
                framesMatch = framesMatch && samples.size() == frames * audio::kCaptureChannels;
                for (const float sample : samples) {
                    loudest = std::max(loudest, std::abs(sample));
                }
            });
            return loudest > 0.1f;
        },
        limit);
    return loudest;
}

TEST(PulseLoopbackCaptureTest, WithoutServerSaysSoOnceAndStaysSilent)
{
    ServerAddress address("unix:/nonexistent/tolvenic-test/native");
    // The client outlives the capture, whose end runs its last notifications.
    RecordingClient client;
    audio::PulseLoopbackCapture capture("tolvenic-test", kTimeoutMs);
    testing::internal::CaptureStderr();
    const auto start = Clock::now();
    EXPECT_FALSE(capture.Connect(&client));
    EXPECT_FALSE(capture.Connect(&client));
    EXPECT_LT(Clock::now() - start, 2 * std::chrono::milliseconds(kTimeoutMs));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("tolvenic-test: sound server:"), std::string::npos) << said;
    EXPECT_EQ(said.find("sound server:"), said.rfind("sound server:")) << said;

    EXPECT_FALSE(capture.IsConnected());
    EXPECT_EQ(capture.DefaultRenderEndpoint(), "");
    EXPECT_FALSE(capture.Open("anything", true));
    capture.SetActive(true);
    int packets = 0;
    EXPECT_EQ(capture.Read([&](std::span<const float>, size_t) { ++packets; }),
              audio::ReadResult::Drained);
    EXPECT_EQ(packets, 0);
}

TEST(PulseLoopbackCaptureTest, WithoutItsLibrarySaysWhyAndStaysSilent)
{
    RecordingClient client;
    audio::PulseLoopbackCapture capture("tolvenic-test", kTimeoutMs, "libpulse-missing.so.0");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(capture.Connect(&client));
    EXPECT_FALSE(capture.Connect(&client));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("tolvenic-test: sound server: libpulse-missing.so.0 could not be loaded: "),
              std::string::npos)
        << said;
    EXPECT_EQ(said.find("sound server:"), said.rfind("sound server:")) << said;
    EXPECT_FALSE(capture.IsConnected());
    EXPECT_FALSE(capture.Open("anything", true));
    capture.SetActive(true);
    EXPECT_EQ(capture.Read([](std::span<const float>, size_t) { ADD_FAILURE(); }),
              audio::ReadResult::Drained);
}

TEST(PulseLoopbackCaptureTest, CapturesFollowsDefaultSinkAndSurvivesTheServer)
{
    testsupport::PulseDaemon daemon;
    if (!daemon.Start({"first", "second"})) {
        GTEST_SKIP() << "no PulseAudio daemon: " << daemon.Error();
    }
    ServerAddress address(daemon.ServerAddress());
    ASSERT_TRUE(daemon.PlaySine("first", 440.0, 0.5f, 30));

    RecordingClient client;
    audio::PulseLoopbackCapture capture("tolvenic-test", kTimeoutMs);
    ASSERT_TRUE(capture.Connect(&client));
    EXPECT_EQ(capture.DefaultRenderEndpoint(), "first");
    ASSERT_TRUE(capture.Open("first", true));
    capture.SetActive(true);
    ASSERT_TRUE(WaitUntil([&] { return capture.RunningSource() == "first.monitor"; }, 5s));

    bool framesMatch = false;
    const float loudest = ReadLoudest(capture, 5s, framesMatch);
    EXPECT_GT(loudest, 0.4f);
    EXPECT_LT(loudest, 0.6f);
    EXPECT_TRUE(framesMatch);

    ASSERT_TRUE(daemon.Pactl({"set-default-sink", "second"}));
    EXPECT_EQ(client.WaitForRenderChange(5s), "second");
    EXPECT_EQ(capture.DefaultRenderEndpoint(), "second");

    daemon.Kill();
    audio::ReadResult result = audio::ReadResult::Drained;
    EXPECT_TRUE(WaitUntil(
        [&] {
            result = capture.Read([](std::span<const float>, size_t) {});
            return result == audio::ReadResult::Lost;
        },
        5s));
    EXPECT_FALSE(capture.IsConnected());
    capture.Close();
    EXPECT_EQ(capture.RunningSource(), "");
}

}  // namespace
