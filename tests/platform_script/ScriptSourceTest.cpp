// Finding the procedures a script declares, without running it.
#include "script/ScriptSource.h"

#include <gtest/gtest.h>

TEST(ScriptSource, TopLevelFunctionsInTextOrder)
{
    struct Case
    {
        const char* code;
        QStringList expected;
    };
    const Case cases[] = {
        {"function b(){}\nfunction a(x, y) { return x; }", {"b", "a"}},
        {"function outer(){ function inner(){} }\nfunction after(){}", {"outer", "after"}},
        {"var f = function g(){};\n(function h(){})();\n!function k(){}();", {}},
        {"var s = 'function q(){}'; // function c(){}\n/* function d(){} */ function e(){}", {"e"}},
        {"var r = /function z(){/; function y(){}", {"y"}},
        {"var x = 4 / 2; function w(){} var v = 6 / 3 / 1;", {"w"}},
        {"var o = { a: function(){} }\nfunction u(){}", {"u"}},
        {"var n = 1\nfunction t(){}", {"t"}},
        {"function dup(){}\nfunction dup(){ return 1; }", {"dup"}},
        {"if (a) { function notTop(){} }\nfunction s1(){}", {"s1"}},
        {"var t = `function tpl(){}`; function real(){}", {"real"}},
        {"function $dollar_1(){} function _under(){}", {"$dollar_1", "_under"}},
        {"function (", {}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScriptSource::TopLevelFunctions(QString::fromUtf8(c.code)), c.expected) << c.code;
}

TEST(ScriptSource, LineAt)
{
    const QString code = QStringLiteral("one\r\ntwo\nthree");
    EXPECT_EQ(ScriptSource::LineAt(code, 1), QStringLiteral("one"));
    EXPECT_EQ(ScriptSource::LineAt(code, 2), QStringLiteral("two"));
    EXPECT_EQ(ScriptSource::LineAt(code, 3), QStringLiteral("three"));
    EXPECT_EQ(ScriptSource::LineAt(code, 4), QString());
    EXPECT_EQ(ScriptSource::LineAt(code, 0), QString());
}
