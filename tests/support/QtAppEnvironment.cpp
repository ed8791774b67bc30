// The script engine needs an application object; one for the whole test program.
#include <QCoreApplication>

#include <gtest/gtest.h>

namespace
{
class QtAppEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (!QCoreApplication::instance())
            m_app = new QCoreApplication(m_argc, m_argv);
    }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
    }

private:
    int m_argc = 1;
    char m_name[16] = "test";
    char* m_argv[2] = {m_name, nullptr};
    QCoreApplication* m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment* const g_env =
    ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);
} // namespace
