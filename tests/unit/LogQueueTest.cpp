#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include "app/LogQueue.h"

TEST(LogQueue, CutsAfterTheFirstLineEndAtOrBeyondTheMinimum)
{
    const std::string text = "one\r\ntwo\r\nopen";
    struct Case
    {
        size_t nMinCut;
        size_t nExpected;
    };
    const Case cases[] = {
        {0, 0},   // nothing to cut
        {1, 5},   // inside the first line: all of it
        {5, 5},   // exactly after a line end
        {4, 5},   // between "\r" and "\n": the line end goes whole
        {6, 10},  // inside the second line
        {11, 11}, // inside the open last line: no line end is left, so cut there
        {14, 14}, // everything
        {99, 14}, // more than everything
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nExpected, FindLogCut(text.data(), text.size(), c.nMinCut)) << c.nMinCut;
}

TEST(LogQueue, TheLogIsCutBackOnlyWhenItWouldPassTheCap)
{
    EXPECT_EQ(0u, LogCharsToCut(0, 100));
    EXPECT_EQ(0u, LogCharsToCut(LOG_TEXT_CAP - 100, 100));
    EXPECT_EQ(LOG_TEXT_CAP + 1 - LOG_TEXT_KEEP, LogCharsToCut(LOG_TEXT_CAP - 100, 101));
    EXPECT_EQ(LOG_TEXT_CAP * 2 - LOG_TEXT_KEEP, LogCharsToCut(0, LOG_TEXT_CAP * 2));
}

TEST(LogQueue, ABatchStartsWithItsFirstMessageAndHoldsAllInOrder)
{
    CLogQueue queue;
    EXPECT_TRUE(queue.Push("Bind failed with -1"));
    EXPECT_FALSE(queue.Push("Connected to port COM3\r\n"));
    EXPECT_FALSE(queue.Push(""));
    std::string batch;
    EXPECT_FALSE(queue.TakeAll(batch, 0));
    EXPECT_EQ("Bind failed with -1Connected to port COM3\r\n", batch) << "run-on lines run on";
    EXPECT_FALSE(queue.Push("")) << "nothing queued, nothing to tell";
    EXPECT_TRUE(queue.Push("Stopping\r\n"));
    queue.TakeAll(batch, 0);
    EXPECT_EQ("Stopping\r\n", batch);
    queue.TakeAll(batch, 0);
    EXPECT_EQ("", batch);
}

TEST(LogQueue, ABatchWaitsUntilTheLastIsOldEnough)
{
    CLogQueue queue;
    EXPECT_EQ(0u, queue.DelayBeforeTaking(1000)) << "the first batch goes at once";
    std::string batch;
    queue.TakeAll(batch, 1000);
    EXPECT_EQ(LOG_BATCH_DELAY_MS, queue.DelayBeforeTaking(1000));
    EXPECT_EQ(LOG_BATCH_DELAY_MS - 30, queue.DelayBeforeTaking(1030));
    EXPECT_EQ(0u, queue.DelayBeforeTaking(1000 + LOG_BATCH_DELAY_MS));
    EXPECT_EQ(0u, queue.DelayBeforeTaking(5000)) << "an idle queue goes at once";

    queue.TakeAll(batch, 0xFFFFFFF0u);
    EXPECT_EQ(LOG_BATCH_DELAY_MS - 20, queue.DelayBeforeTaking(4)) << "across the tick's wrap";
}

TEST(LogQueue, MessagesFromManyThreadsArriveWholeAndInEachThreadsOrder)
{
    CLogQueue queue;
    const int THREADS = 4, MESSAGES = 20000;
    std::vector<std::thread> writers;
    for (int t = 0; t < THREADS; t++)
        writers.push_back(std::thread(
            [&queue, t]
            {
                for (int i = 0; i < MESSAGES; i++)
                {
                    std::string line = "thread " + std::to_string(t) + " line " + std::to_string(i);
                    queue.Push(line.c_str());
                    queue.Push("\r\n");
                }
            }));
    std::string all, batch;
    std::thread reader(
        [&]
        {
            for (int i = 0; i < 200; i++)
            {
                queue.TakeAll(batch, 0);
                all += batch;
                std::this_thread::yield();
            }
        });
    for (std::thread& writer : writers)
        writer.join();
    reader.join();
    queue.TakeAll(batch, 0);
    all += batch;

    // A message is never torn; "\r\n" of one thread may follow another's text, as
    // run-on messages do in the log, so only the texts are checked in order.
    std::vector<int> next(THREADS, 0);
    std::istringstream words(all);
    std::string word;
    int nThread = -1, nCount = 0;
    while (words >> word)
    {
        if (word == "thread")
        {
            words >> nThread >> word;
            int nLine = -1;
            words >> nLine;
            ASSERT_EQ(next[nThread], nLine) << "thread " << nThread;
            next[nThread]++;
            nCount++;
        }
    }
    EXPECT_EQ(THREADS * MESSAGES, nCount);
}

TEST(LogQueue, AQueueNobodyTakesKeepsItsNewestWholeLines)
{
    CLogQueue queue;
    std::string batch;
    queue.TakeAll(batch, 0);
    const std::string line = "Set volume to 50%\r\n";
    size_t nPushed = 0;
    for (int i = 0; nPushed <= LOG_TEXT_CAP * 2; i++)
    {
        std::string numbered = std::to_string(i) + " " + line;
        queue.Push(numbered.c_str());
        nPushed += numbered.size();
    }
    EXPECT_TRUE(queue.TakeAll(batch, 0)) << "the window must drop what it shows";
    EXPECT_LE(batch.size(), LOG_TEXT_CAP);
    EXPECT_GE(batch.size(), LOG_TEXT_KEEP - line.size() - 10);
    EXPECT_NE('\n', batch[0]);
    EXPECT_EQ(line, batch.substr(batch.size() - line.size()));
    size_t nFirstEnd = batch.find("\r\n");
    std::string first = batch.substr(0, nFirstEnd + 2);
    EXPECT_EQ(line, first.substr(first.find(' ') + 1)) << "starts with a whole line";
    EXPECT_FALSE(queue.TakeAll(batch, 0));
}
