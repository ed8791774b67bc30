// Shared set-up of the OPC client tests: the stand-in servers registered and reset, status waits
// shortened, message boxes and OPC dialogs answered by the test, the log captured.
#pragma once

#include "opc/Group.h"
#include "opc/InfoServer.h"
#include "opc/Item.h"
#include "opc/OPCDialogs.h"

#include "logvane/Logvane.h"
#include "mfc/ModalHook.h"
#include "opcsdk/Opc.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace opctest
{
// Waits up to ms for pred, polling.
inline bool WaitFor(const std::function<bool()>& pred, int ms = 3000)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end)
    {
        if (pred())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return pred();
}

// "Bulk.Tag00000" and on: simulated VT_R8 tags whose values change all the time.
inline std::vector<std::wstring> BulkTags(int count)
{
    std::vector<std::wstring> ids;
    for (int i = 0; i < count; ++i)
    {
        wchar_t name[32];
        std::swprintf(name, 32, L"Bulk.Tag%05d", i);
        ids.push_back(name);
    }
    return ids;
}

inline int CountLogLines(const std::wstring& text)
{
    int n = 0;
    for (const std::wstring& line : Logvane_GetCapturedLines())
    {
        if (line.find(text) != std::wstring::npos)
            ++n;
    }
    return n;
}

inline bool LogContains(const std::wstring& text)
{
    return CountLogLines(text) > 0;
}

class OpcClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OpcStandInServers_Register();
        OpcStandIn::Reset();
        CInfoServer::SetStatusWaitStep(5);
        Logvane_ClearCaptured();
        m_previousHook = AfxSetModalHook(
            [this](const AfxModalRequest& request)
            {
                m_boxes.push_back(request.strText.str());
                return m_boxAnswer;
            });
    }

    void TearDown() override
    {
        AfxSetModalHook(m_previousHook);
        COPCDialogs::SetGroupDialog({});
        COPCDialogs::SetItemDialog({});
        COPCDialogs::SetConnectDialog({});
        COPCDialogs::SetAddItemDialog({});
        COPCDialogs::SetStatusDialog({});
        OpcStandIn::Reset();
        CInfoServer::SetStatusWaitStep(1000);
    }

    // A connected server object named by ProgID (or "this").
    static std::unique_ptr<CInfoServer> MakeConnected(LPCWSTR server, int dataCallback = 1,
                                                      int adviseSink = 1, int shutdown = 0)
    {
        auto info = std::make_unique<CInfoServer>(dataCallback, adviseSink, shutdown);
        EXPECT_TRUE(info->SetServer(L"", server));
        EXPECT_TRUE(info->Connect());
        return info;
    }

    static CGroup* AddGroup(CInfoServer& server, LPCWSTR name = L"G1", DWORD rate = 20,
                            BOOL dataChange = TRUE)
    {
        LONG bias = 0;
        FLOAT band = 0.0f;
        return server.SafeAddGroup(name, 0, rate, TRUE, dataChange, bias, band);
    }

    // Adds the items to the group as the runtime does: one AddItems call, client handles from the
    // items' table, canonical types taken. Items the server refuses are deleted (null in the result).
    static std::vector<CItem*> AddItems(CGroup* group, const std::vector<std::wstring>& ids,
                                        VARTYPE requested = VT_EMPTY)
    {
        std::vector<CItem*> items(ids.size(), nullptr);
        std::vector<OPCITEMDEF> defs(ids.size());
        for (size_t i = 0; i < ids.size(); ++i)
        {
            items[i] = new CItem;
            items[i]->SetName(ids[i].c_str());
            items[i]->SetDataType(requested);
            defs[i] = OPCITEMDEF{const_cast<LPWSTR>(L""),
                                 const_cast<LPWSTR>(ids[i].c_str()),
                                 TRUE,
                                 items[i]->GetClientHandle(),
                                 0,
                                 nullptr,
                                 requested,
                                 0};
        }
        CComQIPtr<IOPCItemMgt> itemMgt(group->GetSafeInterface().p);
        OPCITEMRESULT* results = nullptr;
        HRESULT* errors = nullptr;
        HRESULT hr = itemMgt ? itemMgt->AddItems(DWORD(defs.size()), defs.data(), &results, &errors) : E_FAIL;
        CItemArray* array = nullptr;
        group->GetItems(&array);
        for (size_t i = 0; i < ids.size(); ++i)
        {
            if (FAILED(hr) || !results || !errors || FAILED(errors[i]))
            {
                delete items[i];
                items[i] = nullptr;
                continue;
            }
            items[i]->SetHandle(results[i].hServer);
            if (requested == VT_EMPTY)
                items[i]->SetDataType(results[i].vtCanonicalDataType);
            items[i]->SetGroup(group);
            array->Add(items[i]);
        }
        if (results)
        {
            for (size_t i = 0; i < ids.size(); ++i)
                CoTaskMemFree(results[i].pBlob);
        }
        CoTaskMemFree(results);
        CoTaskMemFree(errors);
        return items;
    }

    AfxModalHookFn m_previousHook;
    std::vector<std::wstring> m_boxes;
    int m_boxAnswer = IDNO;
};
} // namespace opctest
