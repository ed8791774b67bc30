// Modal boxes in tests: a hook for one scope, and a recorder that notes each text and answers.
#pragma once

#include "mfc/ModalHook.h"

#include <utility>
#include <vector>

// Sets the hook for the scope and puts the previous one back.
class CModalHookScope
{
public:
    explicit CModalHookScope(AfxModalHookFn hook) : m_old(AfxSetModalHook(std::move(hook))) {}
    ~CModalHookScope() { AfxSetModalHook(std::move(m_old)); }
    CModalHookScope(const CModalHookScope&) = delete;
    CModalHookScope& operator=(const CModalHookScope&) = delete;

private:
    AfxModalHookFn m_old;
};

// Answers every box with `answer` and keeps its text.
class CModalRecorder
{
public:
    explicit CModalRecorder(int answer = IDOK)
        : m_scope(
              [this, answer](const AfxModalRequest& r)
              {
                  texts.push_back(r.strText);
                  return answer;
              })
    {
    }
    std::vector<CString> texts;

private:
    CModalHookScope m_scope;
};
