#include <gtest/gtest.h>
#include "players/SessionRetry.h"

// Each step: a time, what happened then (asked: '?', failed: 'F', succeeded: 'S')
// and what the rule answers: due, or the log line to say.
struct RetryStep
{
    unsigned nNowMs;
    char cEvent;
    bool bAnswer;
};

TEST(SessionRetry, AFailureIsTriedAgainAfterThirtySecondsAndSaidOnce)
{
    const unsigned WRAP = 0xFFFFFFFFu - 9999; // 10 s before the tick count wraps
    const RetryStep steps[] = {
        {0, '?', true},      {5, 'F', true},      {6, '?', false},     {30004, '?', false},
        {30005, '?', true},  {30005, 'F', false}, {45000, '?', false}, {60005, '?', true},
        {60010, 'S', true},  {60011, '?', true},  {WRAP, 'F', false},  {WRAP + 9999, '?', false},
        {19999, '?', false}, {20000, '?', true},  {20000, 'S', true},  {20001, 'S', false},
        {20002, '?', true},
    };
    CSessionRetry retry;
    for (const RetryStep& step : steps)
    {
        SCOPED_TRACE(testing::Message() << step.nNowMs << " " << step.cEvent);
        bool bAnswer = step.cEvent == '?'   ? retry.IsDue(step.nNowMs)
                       : step.cEvent == 'F' ? retry.Failed(step.nNowMs)
                                            : retry.Succeeded();
        EXPECT_EQ(step.bAnswer, bAnswer);
    }
}
