// The page fixture itself: a host on virtual mice queues an action's requests and waits for their end.

#include "PageFixture.h"
#include "actions/PerformanceActions.h"

namespace quorvel::test {
namespace {

class PageFixtureTest : public PageTest {};

TEST_F(PageFixtureTest, QueuesAnActionAndWaitsForItsEnd) {
    OpenMice("102:wired");
    const ActionResult result = SetReportRate(host->Actions(), 500);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(host->Queue(result).size(), 1u);
    EXPECT_EQ(host->savingShown, 1);
    ASSERT_TRUE(Drain());
    EXPECT_EQ(SentSinceLastCall().size(), 1u);
}

}  // namespace
}  // namespace quorvel::test
