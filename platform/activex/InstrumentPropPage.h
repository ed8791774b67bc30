// The property page of a stand-in instrument control: caption, range, count and colours. OK keeps
// the dialog open, with a message and the focus on the field, while a value is wrong.
#pragma once

#include "activex/InstrumentControl.h"
#include "mfc/Dialog.h"

#define IDD_INSTRUMENT_PROPS 30500
#define IDC_INSTR_CAPTION 30501
#define IDC_INSTR_MIN 30502
#define IDC_INSTR_MAX 30503
#define IDC_INSTR_COUNT 30504
#define IDC_INSTR_COUNT_LABEL 30505
#define IDC_INSTR_FORE 30506
#define IDC_INSTR_BACK 30507
#define IDC_INSTR_ACTIVE 30508
#define IDS_INSTR_BAD_RANGE 30510
#define IDS_INSTR_BAD_COUNT 30511
#define IDS_INSTR_BAD_COLOUR 30512
#define IDS_INSTR_CAPTION 30513

class CInstrumentPropPage : public CDialog
{
public:
    CInstrumentPropPage(const INSTRUMENT_CONTROL_INFO& info, const CInstrumentSettings& settings,
                        CWnd* pParent = nullptr);

    // The settings as filled in; the new ones after IDOK.
    CInstrumentSettings m_settings;

    BOOL OnInitDialog() override;
    void OnOK() override;

    // "#RRGGBB" for a colour, and back; FALSE for any other text.
    static CString FormatColour(COLORREF cr);
    static BOOL ParseColour(const CString& text, COLORREF& cr);

private:
    BOOL Refuse(int nIDC, const CString& strText);

    const INSTRUMENT_CONTROL_INFO& m_info;
};
