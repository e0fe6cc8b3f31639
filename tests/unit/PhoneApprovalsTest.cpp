#include <gtest/gtest.h>
#include "links/PhoneApprovals.h"

static uint32_t Address(const char* pszText)
{
    uint32_t nAddress = 0;
    EXPECT_TRUE(ParseIPv4(pszText, &nAddress)) << pszText;
    return nAddress;
}

// The rest of the rule is the end-to-end test's (PhoneApprovalTest.cpp).
TEST(PhoneApprovals, AQuestionTakesOneAnswerAndItsPhoneIsHeldUntilTaken)
{
    CPhoneApprovals approvals;
    CPhoneQuestion asked = {0, 0};
    bool bAllowed = true;
    EXPECT_EQ(PHONE_ASK, approvals.Judge(Address("10.77.0.1")));
    ASSERT_TRUE(approvals.IsAsking(&asked));
    ASSERT_TRUE(approvals.Answer(false, asked));
    EXPECT_FALSE(approvals.Answer(true, asked)) << "the user's answer and the time-out race";
    EXPECT_EQ(PHONE_REFUSE_DENIED, approvals.Judge(Address("10.77.0.1")));
    EXPECT_EQ(PHONE_REFUSE_WAITING, approvals.Judge(Address("10.77.0.2"))) << "until taken";
    ASSERT_TRUE(approvals.TakeAnswer(&bAllowed) && !bAllowed);
    EXPECT_EQ(PHONE_ASK, approvals.Judge(Address("10.77.0.2")));
}

TEST(PhoneApprovals, TheSettingKeepsValidAddressesAndTheNewestOnes)
{
    CPhoneApprovals approvals;
    approvals.LoadAllowed("10.0.0.1;;bad;1.2.3;1.2.3.4.5;256.1.1.1;01.2.3.4x;192.168.1.23");
    EXPECT_EQ("10.0.0.1;192.168.1.23", approvals.AllowedText());
    EXPECT_TRUE(approvals.IsAllowed(Address("192.168.1.23")));

    std::string text;
    for (unsigned i = 0; i < MAX_ALLOWED_PHONES + 2; i++)
        text += "10.1.0." + std::to_string(i) + ";";
    approvals.LoadAllowed(text);
    EXPECT_FALSE(approvals.IsAllowed(Address("10.1.0.1")));
    EXPECT_TRUE(approvals.IsAllowed(Address("10.1.0.2")));
    EXPECT_TRUE(approvals.IsAllowed(Address("10.1.0.65")));
}
