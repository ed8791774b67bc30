// CQYRViewView: the player's main view. Over the runtime view it binds the shown screen's shapes to
// OPC items (one group per server, servers kept by name in the process-wide multi-server document),
// carries the items' values and qualities into the shapes every 250 ms (blinking while a quality
// is bad), updates the charts every second, and lets the operator enter values that are written
// back to the items or to global variables.
//
// One busy flag keeps the view's timer ticks away while binding, disconnecting or writing: a tick
// that arrives meanwhile is dropped.
#pragma once

#include "player/PlexrunView.h"

#include "com/ComUtil.h"

class CFOTimeChartShape;
class CGroup;
class CInfoMultiServerExplorerDoc;
class CInfoServer;
class CItem;
class CQYRViewDoc;
struct FO_VALUE;

class CQYRViewView : public CPlexrunView
{
    DECLARE_DYNCREATE(CQYRViewView)
public:
    CQYRViewView();
    ~CQYRViewView() override;

    CQYRViewDoc* GetDocument() const;

    // Loads a screen file of the project (by name) the way a screen switch of the canvas does.
    BOOL LoadScreen(const CString& strName) { return RunXdgFromFile(strName, FALSE); }

    // Server key tests.
    static CString ServerNameFromKey(const CString& strKey);
    static BOOL IsOwnServer(const CString& strKey);
    static BOOL IsTagBound(const CFODrawShape* pShape);
    static BOOL HasTagList(const CFODrawShape* pShape);
    int CountBoundShapes() override;

    // Binding. The view's groups are those made for its model's shapes: a disconnect removes only
    // these, and a server goes (forced, or when its status fails) only when no group is left on it,
    // that is when no other view uses it.
    CInfoServer* ConnectTagServers(const CString& strComputer, const CString& strServerKey, BOOL bConnect);
    void CreateShapeItems(CGroup* pGroup, const CString& strServerName);
    void DisconnectTagServers(BOOL bForce);
    BOOL PrepareShapes();
    void DoInitFormCreate() override;
    BOOL LoadXdgFromFile(LPCWSTR lpszPathName, BOOL bAddToRecent) override;
    BOOL RunXdgFromFile(const CString& strName, BOOL bFlag);

    // Refresh.
    void RefreshValues();
    void UpdateCharts();
    // One sample of every tag of a time chart: its item set's values, else its own value by key 3;
    // FALSE when it has neither.
    BOOL UpdateTimeChart(CFOTimeChartShape* pChart);
    static void SetBlinkColors(CFODrawShape* pShape, BOOL bOn);
    static BOOL SetStepState(CFODrawShape* pShape, BOOL bOn);

    // Operator entry (shape events 21 and 22; other events go to the runtime view).
    void DoEventAtAllGeometryUp(CFODrawShape* pShape, int nEventKind, const CString& strEvent) override;
    void WriteShapeValue(CFODrawShape* pShape, int nEvent, CItem* pItem);
    void EditGlobalVariable(CFODrawShape* pShape, int nEvent, const CString& strName);
    BOOL SetShapeFromVariant(CFODrawShape* pShape, const VARIANT& value, BOOL bForce);
    BOOL SetShapeValue(CFODrawShape* pShape, const FO_VALUE& value, BOOL bForce);
    // The value an analog entry's text gives for an item type; FALSE (with the message shown) for an
    // empty text, one that is not a number, or one outside the type.
    static BOOL MakeAnalogValue(const CString& strText, VARTYPE vt, _variant_t& value);

    BOOL IsBusy() const { return m_nBusy != 0; }
    int GetTickCount() const { return m_nTick; }
    // The groups made so far by all views of the process.
    static int GetGroupCounter();

    void OnInitialUpdate() override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnDestroy() override;

protected:
    // The server document of the view's document; a view without a document (a popup) takes a use
    // of the process-wide one for itself (TakeServerDocumentUse) and gives it back when it goes.
    CInfoMultiServerExplorerDoc* GetServerDocument() const;
    void TakeServerDocumentUse();
    // Detaches every item of the group from its shape or item set, then removes the items.
    static void RemoveGroupItems(CGroup* pGroup);
    void InitChartFromTags(CFODrawShape* pShape);

    int m_nBusy = 1;
    int m_nTick = 0;
    BOOL m_bShapesPrepared = FALSE;
    CInfoMultiServerExplorerDoc* m_pOwnServerDoc = nullptr;
};
