// CPlexrunView: the base of the runtime views. It shows the document's screen model on a canvas that
// fills the view, creates the process's one script engine with "app" and the project script
// "system.uscp", runs the screens' start, timer and close procedures, arms the view timers, keeps the
// clock's system variables and the global variables' shapes current, steps the animated shapes, and
// carries out the shapes' run-time events (links, files, screen switches, showing and hiding
// shapes, procedures, slider drags) and the path and scale animation.
#pragma once

#include "mfc/View.h"
#include "player/RunMethodHost.h"

class CDC;
class CExtDataModel;
class CFODrawShape;
class CFOTypedShapeObList;
class CPlexrunDoc;
class CRunCanvas;
class CStringArray;
class CWorkSpaceObj;

// The view timers.
enum
{
    RUN_TIMER_REFRESH = 1123,
    RUN_TIMER_OUTSIDE = 1124,
    RUN_TIMER_PROCEDURE = 1125,
    RUN_TIMER_CHARTS = 1126,
    RUN_TIMER_CLOCK = 1127,
    RUN_TIMER_STEPPING = 1128,
};

// Shows the demo folder's "hmicheck.xdg" as a popup; no menu or accelerator carries it.
enum
{
    RUN_CMD_TEST_POPUP = 32794,
};

// Screen and shape properties the runtime reads.
enum
{
    RUN_PROP_SHAPE_PROCEDURE = 15008,
    RUN_PROP_TAG_LIST = 15009,
    RUN_PROP_BLINKING = 15030,
};

class CPlexrunView : public CScrollView
{
    DECLARE_DYNCREATE(CPlexrunView)
public:
    CPlexrunView();
    ~CPlexrunView() override;

    CPlexrunDoc* GetPlexrunDocument() const;
    CRunCanvas* GetCanvas() const { return m_pCanvas; }
    CExtDataModel* GetCurrentModel() const;

    // Added operations.
    virtual void OpenFileWithShell(const CString& strPath);
    // The URL a file link opens: the file's absolute path as a local file URL.
    static CString LocalFileUrl(const CString& strPath);
    // Whether the screen file can be read whole; if not, the message naming the file and the
    // reason is shown (or, with pReason, handed back instead).
    static BOOL CanShowScreenFile(const CString& strPath, CString* pReason = nullptr);
    // Shows the screen file (the main screen for an empty path) in a modal window of that size,
    // centred on the screen, and returns when it is closed.
    virtual BOOL ShowPopupScreen(const CString& strPath, const CString& strTitle, CSize size);
    virtual int CountBoundShapes() { return 0; }
    virtual UINT GetRefreshTimerId() { return RUN_TIMER_REFRESH; }

    // The canvas's operations (CRunCanvas hands them here).
    virtual BOOL LoadXdgFromFile(LPCWSTR lpszPathName, BOOL bAddToRecent);
    virtual void DoInitFormCreate() {}
    virtual void DoEventAtAllGeometryUp(CFODrawShape* pShape, int nEventKind, const CString& strEvent);
    virtual void DoEventDragSlider(CFODrawShape* pShape, double dValue);
    virtual void DoCurrentValueChange(CFODrawShape* pShape, double dValue);

    // Runs one procedure of the project script with the two arguments; a failure shows the engine's
    // error text. Nothing runs before the project script was loaded by this view.
    void RunScriptProcedure(const CString& strName, const CString& strText, int nValue);

    // Counting for the timers and the binding.
    int CountChartPoints(CFODrawShape* pShape, CStringArray& points) const;
    int CountAllChartPoints() const;
    int CountChartShapes() const;
    int CountSteppingShapes() const;
    static BOOL IsChartType(UINT nType);
    static BOOL IsSteppingType(UINT nType);
    static BOOL IsValueFlagType(UINT nType);
    static BOOL IsInstrumentType(UINT nType) { return nType >= 633 && nType <= 695; }

    // Switches to another screen of the project (shape event 5); nothing when the name is not a
    // valid screen other than the current one.
    BOOL SwitchScreen(const CString& strName);

    // The screen this view shows; a switch to it is refused.
    const CString& GetCurrentScreen() const { return m_strCurrentScreen; }
    // Whether this view made the process's script engine (it alone runs procedures and deletes it).
    BOOL OwnsScriptEngine() const { return m_bOwnsScript; }
    // Whether no other runtime view shows this view's model.
    BOOL IsLastViewOfModel() const;

    const CString& GetScriptText() const { return m_strScriptText; }
    const CString& GetTimerProcedure() const { return m_strTimerProc; }
    int GetTimerStep() const { return m_nTimerStep; }
    BOOL IsScriptLoaded() const { return m_bScriptLoaded; }

    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    // Printing (commands 57607 to 57609, event kind 6): the shown screen's page, fitted to the paper.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE) override;
    // Scrolls the screen for a key (page, home and end, arrows); FALSE for other keys.
    BOOL ScrollByKey(UINT nChar);
    // Scroll bars for the shown screen's size and the view's; the canvas placed to match.
    void UpdateScrollSizes();
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnDestroy() override;
    afx_msg void OnShowTestPopup();

protected:
    // Creates the process's script engine with "app" (this view and pModel) and the project script.
    void CreateScriptEngine(CExtDataModel* pModel);
    // Counts this view on the model it shows (once), and takes it off again.
    void AttachModel(CExtDataModel* pModel);
    void DetachModel();
    // Shows the first screen of a document's view: the screen file the document was opened on
    // (bound here), else, for the first view of a new document, the project's main screen; a view
    // of a model that another view already shows only shows it.
    void ShowFirstScreen(CPlexrunDoc* pDoc);
    // Loads the project's main screen (when the project names one) as this view's screen; FALSE
    // when the project names none.
    BOOL LoadMainScreen();
    // The shown screen's settings (user properties 15001, 15003, 15004, 15005 and 15007).
    struct CScreenSettings
    {
        CString strProp15001;
        CString strProp15003;
        CString strStartProc;
        CString strTimerProc;
        // Of timer 1125; 500 when unreadable.
        int nPeriod = 500;
    };
    CScreenSettings ReadScreenSettings() const;
    // Takes the timer procedure and arms timer 1125 for it.
    void ArmTimerProcedure(const CScreenSettings& settings);
    // Arms the refresh, stepping, chart and clock timers by what the screen holds.
    void ArmViewTimers();
    // Loads a screen file and shows it as the current screen named strName, with its start
    // procedure and timers; FALSE when it cannot be loaded.
    BOOL ShowScreen(const CString& strPath, const CString& strName);
    int CountShapes(BOOL (*pfnTest)(UINT nType)) const;
    // Reads the current screen's settings, runs its start procedure and arms the timers.
    void StartScreen();
    // Sets a variable from a double and pushes it to the shapes bound to it but pSkip, adding the
    // changed ones to pChanged. FALSE when no global variable has exactly that name.
    BOOL SetGlobalFromValue(const CString& strName, double dValue, CFODrawShape* pSkip,
                            CFOTypedShapeObList* pChanged);
    static CWorkSpaceObj* GetWorkSpace();
    // Puts the canvas, as large as the screen, where the scroll position shows it.
    void PlaceCanvas();
    void UpdateClockVariables();
    void StepShapes();
    void AnimateDriver(CFODrawShape* pDriver, double dValue);

    CString m_strScriptText;
    CString m_strTimerProc;
    CRunMethodHost* m_pMethodHost = nullptr;
    int m_nTimerStep = 0;
    BOOL m_bScriptLoaded = FALSE;
    // Owned; a child window filling the view.
    CRunCanvas* m_pCanvas = nullptr;
    // Whether this view created the process's script engine.
    BOOL m_bOwnsScript = FALSE;
    CString m_strCurrentScreen;
    // The model this view is counted on (AttachModel).
    CExtDataModel* m_pAttachedModel = nullptr;
    // The page step the bars were last given.
    CSize m_sizeScrollPage;

    DECLARE_MESSAGE_MAP()
};
