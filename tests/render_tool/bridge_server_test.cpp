// The bridge helper's request loop: a request it cannot serve gets a failure
// reply with the reason, never a crash, and the loop goes on until told to quit.
#include <gtest/gtest.h>

#include <unistd.h>

#include "plugin_base/vst2_interface.h"
#include "tools/nubbel-render/bridge_protocol.h"
#include "tools/nubbel-render/bridge_server.h"

namespace {

using namespace render::bridge;

struct Reply {
    uint32_t tag;
    std::string text;
};

TEST(BridgeServer, RequestsItCannotServeAreAnsweredWithAReason) {
    int requests[2], replies[2];
    ASSERT_EQ(pipe(requests), 0);
    ASSERT_EQ(pipe(replies), 0);
    MessageWriter dispatch;
    dispatch.i32(effGetProgram);
    dispatch.i32(0);
    dispatch.i64(0);
    dispatch.f32(0);
    MessageWriter missing;
    missing.text("/no/such/plugin.so");
    MessageWriter shortProcess;
    shortProcess.f64(0);
    shortProcess.i32(512);
    const std::vector<std::pair<uint32_t, std::vector<unsigned char>>> sent = {
        {kDispatch, dispatch.data()},     // before any plug-in is loaded
        {kLoad, missing.data()},          // a file that is not there
        {kLoad, {1, 2}},                  // a path cut short
        {kProcess, shortProcess.data()},  // no plug-in, and a block cut short
        {999, {}},                        // no such request
        {kQuit, {}},
    };
    for (const auto& r : sent) ASSERT_TRUE(writeMessage(requests[1], r.first, r.second));
    close(requests[1]);

    EXPECT_EQ(serve(requests[0], replies[1]), 0);
    close(replies[1]);
    std::vector<Reply> got;
    uint32_t tag;
    std::vector<unsigned char> payload;
    while (readMessage(replies[0], tag, payload)) {
        std::string text;
        if (tag == kReplyFailed) text = MessageReader(payload).text();
        got.push_back({tag, text});
    }
    close(requests[0]);
    close(replies[0]);

    ASSERT_EQ(got.size(), sent.size());
    EXPECT_EQ(got[0].text, "no plug-in loaded");
    EXPECT_EQ(got[1].text, "no such file");
    EXPECT_NE(got[2].text.find("bridge protocol"), std::string::npos) << got[2].text;
    EXPECT_EQ(got[3].text, "no plug-in loaded");
    EXPECT_EQ(got[4].text, "bridge protocol: unknown request");
    for (size_t i = 0; i + 1 < got.size(); ++i) EXPECT_EQ(got[i].tag, kReplyFailed) << i;
    EXPECT_EQ(got.back().tag, kReplyOk);
}

}  // namespace
