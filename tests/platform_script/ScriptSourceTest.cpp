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

// Minified code: a `/` is division or the start of a regular expression by the token before it.
// Each snippet has a later `/`, so taking a division for a regex would hide the functions between.
TEST(ScriptSource, DivisionOrRegexInOneLineCode)
{
    struct Case
    {
        const char* code;
        QStringList expected;
    };
    const Case cases[] = {
        // Division: after postfix ++/--, an identifier, a number, `)`, `]`, `this` or an expression's `}`.
        {"var i=0;function a(){i++/2}function b(){return 1/2}function c(){}", {"a", "b", "c"}},
        {"function a(){i--/2}function b(){}var x=1/2;", {"a", "b"}},
        {"function a(){i++ /2}function b(){}var x=1/2;", {"a", "b"}},
        {"x=a[0]++/2;function f(){}y=1/2", {"f"}},
        {"x=n/2;function f(){}y=1/2", {"f"}},
        {"x=10/2;function f(){}y=1/2", {"f"}},
        {"x=(a+b)/2;function f(){}y=1/2", {"f"}},
        {"x=a[1]/2;function f(){}y=1/2", {"f"}},
        {"x=this/2;function f(){}y=1/2", {"f"}},
        {"var o={a:1}/2;function f(){}y=1/2", {"f"}},
        {"var g=function(){}/1;function f(){}y=1/2", {"f"}},
        {"x=[function(){return{}}/1];function f(){}y=1/2", {"f"}},
        // Regular expression: after an operator, `(`, `,`, `=`, `return`, `typeof` or a block's `}`.
        {"x=/;function no(){}/;function f(){}", {"f"}},
        {"x=a+/}function no(){/.source.length;function f(){}", {"f"}},
        {"t(/}function no(){/);function f(){}", {"f"}},
        {"t(1,/;function no(){}/);function f(){}", {"f"}},
        {"function f(){return /}function no(){/.test(s)}function g(){}", {"f", "g"}},
        {"x=typeof /;function no(){}/;function f(){}", {"f"}},
        {"function f(){}/;function no(){}/.test(s);function g(){}", {"f", "g"}},
        {"if(a){}/;function no(){}/.test(s);function g(){}", {"g"}},
        {"x=++i/2;function f(){}y=1/2", {"f"}},
        {"x=a++ + /;function no(){}/.source;function f(){}", {"f"}},
        {"var r=/a\\/b[/]/g;function f(){}y=1/2", {"f"}},
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
