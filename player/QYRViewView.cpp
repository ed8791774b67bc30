#include "player/QYRViewView.h"

#include "figkit/FOShapeState.h"

#include "figkit/FODrawShape.h"
#include "figkit/FOPSimpleLabelShape.h"
#include "figkit/FOTimeChartShape.h"
#include "mfc/ModalHook.h"
#include "model/MyPushChartShape.h"
#include "model/MyRealTimeChartShape.h"
#include "model/StateString.h"
#include "model/WorkSpaceObj.h"
#include "model/XVKMethodHost.h"
#include "model/XVKValueSet.h"
#include "opc/Group.h"
#include "opc/InfoMultiServerExplorerDoc.h"
#include "opc/Item.h"
#include "opc/ItemSet.h"
#include "player/EntryDlgs.h"
#include "player/ExtDataModel.h"
#include "player/QYRViewDoc.h"
#include "player/RunCanvas.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>

IMPLEMENT_DYNCREATE(CQYRViewView, CPlexrunView)

namespace
{
CItem* ItemOf(const CFODrawShape* pShape)
{
    return dynamic_cast<CItem*>(static_cast<CObject*>(pShape->GetItemData()));
}

BOOL IsBooleanRangeType(UINT nType)
{
    return nType == 281 || nType == 284 || nType == 699;
}

BOOL KeepsColours(UINT nType)
{
    return nType == 609 || nType == 697;
}

BOOL IsStepType(UINT nType)
{
    return nType == 34 || nType == 89;
}

void PutValueFlags(CFODrawShape* pShape, double dValue)
{
    const UINT type = pShape->GetType();
    if (CPlexrunView::IsValueFlagType(type))
        pShape->PutPropBoolValue(FO_PROP_VALUE_ON, dValue != 0.0);
    if (IsStepType(type))
        pShape->PutPropBoolValue(FO_PROP_SWITCH_STATE, dValue != 0.0);
}

void AddToRedraw(CFOTypedShapeObList& list, CFODrawShape* pShape)
{
    if (!CPlexrunView::IsInstrumentType(pShape->GetType()) && list.Find(pShape) < 0)
        list.AddTail(pShape);
}

void RefuseEntry(const CString& strText)
{
    AfxMessageBox(strText, MB_OK | MB_ICONEXCLAMATION);
}
} // namespace

CQYRViewView::CQYRViewView() = default;

CQYRViewView::~CQYRViewView()
{
    if (m_pOwnServerDoc)
        RemoveExplorerMultiActiveDocument(m_pOwnServerDoc);
}

CQYRViewDoc* CQYRViewView::GetDocument() const
{
    return dynamic_cast<CQYRViewDoc*>(m_pDocument);
}

void CQYRViewView::OnInitialUpdate()
{
    if (CQYRViewDoc* doc = GetDocument(); doc && !doc->m_pMainView)
        doc->m_pMainView = this;
    CPlexrunView::OnInitialUpdate();
}

// Timers

void CQYRViewView::OnTimer(UINT_PTR nIDEvent)
{
    if (m_nBusy)
        return;
    m_nBusy = 1;
    if (nIDEvent == RUN_TIMER_REFRESH)
        RefreshValues();
    else if (nIDEvent == RUN_TIMER_CHARTS)
        UpdateCharts();
    CPlexrunView::OnTimer(nIDEvent);
    m_nBusy = 0;
}

void CQYRViewView::SetBlinkColors(CFODrawShape* pShape, BOOL bOn)
{
    if (bOn)
    {
        pShape->SetBkColor(pShape->GetSavedBkColor());
        pShape->SetPatternColor(pShape->GetSavedPatternColor());
    }
    else
    {
        pShape->SetBkColor(pShape->GetSavedPatternColor());
        pShape->SetPatternColor(pShape->GetSavedBkColor());
    }
}

BOOL CQYRViewView::SetStepState(CFODrawShape* pShape, BOOL bOn)
{
    return StateString::SelectTrueFalseState(pShape, bOn);
}

void CQYRViewView::RefreshValues()
{
    ++m_nTick;
    CInfoMultiServerExplorerDoc* doc = GetServerDocument();
    CExtDataModel* model = GetCurrentModel();
    if (!doc || !model || !doc->UpdateAllInfoServers())
        return;
    CFOTypedShapeObList redraw;
    for (CFODrawShape* shape : *model->GetShapes())
    {
        CItem* item = ItemOf(shape);
        if (!item)
            continue;
        BOOL changed = FALSE;
        BOOL blinking = FALSE;
        shape->GetPropBoolValue(blinking, RUN_PROP_BLINKING);
        if (item->IsQualityGood())
        {
            if (blinking)
            {
                shape->RestoreCurrentData();
                shape->PutPropBoolValue(RUN_PROP_BLINKING, FALSE);
                changed = TRUE;
            }
        }
        else if (!blinking)
        {
            shape->SaveCurrentData();
            shape->PutPropBoolValue(RUN_PROP_BLINKING, TRUE);
        }
        else
        {
            SetBlinkColors(shape, !(m_nTick & 1));
            AddToRedraw(redraw, shape);
        }

        const UINT type = shape->GetType();
        const double current = shape->GetCurrentValue();
        VARTYPE vt = VT_EMPTY;
        double next = item->GetDoubleValue(vt);
        if (vt == VT_BOOL && IsBooleanRangeType(type))
            next = next == 0.0 ? shape->GetMinValue() : shape->GetMaxValue();
        if (vt == VT_BSTR)
        {
            const CString text = item->GetBSTRValue(vt);
            if (text != shape->GetCurrentTextValue())
            {
                shape->SetCurrentTextValue(text);
                changed = TRUE;
            }
            if (!changed)
                continue;
        }
        else if (next != current)
        {
            const BOOL on = next != 0.0;
            // Value ranges, when the shape has them, decide its colours instead.
            if (!KeepsColours(type) && !FOHasValueStates(shape))
            {
                if (!IsStepType(type) || !SetStepState(shape, on))
                    SetBlinkColors(shape, on);
            }
            shape->SetCurrentValue(next);
            FOApplyShapeValue(shape, next);
            changed = TRUE;
        }
        if (!changed)
            continue;
        PutValueFlags(shape, next);
        AddToRedraw(redraw, shape);
    }
    if (!redraw.IsEmpty())
        m_pCanvas->UpdateShapes(&redraw);
}

BOOL CQYRViewView::UpdateTimeChart(CFOTimeChartShape* pChart)
{
    auto* data = static_cast<CObject*>(pChart->GetItemData());
    if (data && data->IsKindOf(RUNTIME_CLASS(CXVKValueSet)))
    {
        double* values = nullptr;
        const wchar_t** names = nullptr;
        const int count = static_cast<CXVKValueSet*>(data)->FetchValues(values, names);
        if (count < 1)
            return TRUE;
        const std::unique_ptr<double[]> ownValues(values);
        const std::unique_ptr<const wchar_t*[]> ownNames(names);
        pChart->UpdateMultiLineData(count, names, values);
        return TRUE;
    }
    const CString& key3 = pChart->GetKeyId3();
    if (key3.IsEmpty())
        return FALSE;
    // A shape that has no value yet gives no sample.
    const double value = pChart->GetCurrentValue();
    const wchar_t* name = key3.GetString();
    pChart->UpdateMultiLineData(1, &name, &value);
    return TRUE;
}

void CQYRViewView::UpdateCharts()
{
    CExtDataModel* model = GetCurrentModel();
    if (!model)
        return;
    CFOTypedShapeObList redraw;
    for (CFODrawShape* shape : *model->GetShapes())
    {
        if (auto* chart = dynamic_cast<CFOTimeChartShape*>(shape))
        {
            UpdateTimeChart(chart);
            redraw.AddTail(shape);
        }
        else if (auto* push = dynamic_cast<CMyPushChartShape*>(shape))
        {
            push->UpdateChartData();
            redraw.AddTail(shape);
        }
        else if (auto* live = dynamic_cast<CMyRealTimeChartShape*>(shape))
        {
            live->UpdateChartData();
            redraw.AddTail(shape);
        }
    }
    if (!redraw.IsEmpty())
        m_pCanvas->UpdateShapes(&redraw);
}

void CQYRViewView::OnDestroy()
{
    static const UINT kTimers[] = {RUN_TIMER_CHARTS,    RUN_TIMER_REFRESH, RUN_TIMER_STEPPING,
                                   RUN_TIMER_PROCEDURE, RUN_TIMER_CLOCK,   RUN_TIMER_OUTSIDE};
    for (UINT id : kTimers)
        KillTimer(id);
    // Another view that shows the same model keeps its items.
    if (IsLastViewOfModel())
        DisconnectTagServers(TRUE);
    if (CQYRViewDoc* doc = GetDocument(); doc && doc->m_pMainView == this)
        doc->m_pMainView = nullptr;
    CPlexrunView::OnDestroy();
}

// Operator entry

void CQYRViewView::DoEventAtAllGeometryUp(CFODrawShape* pShape, int nEventKind, const CString& strEvent)
{
    if (nEventKind != 21 && nEventKind != 22)
    {
        CPlexrunView::DoEventAtAllGeometryUp(pShape, nEventKind, strEvent);
        return;
    }
    if (!pShape)
        return;
    if (CItem* item = ItemOf(pShape))
        WriteShapeValue(pShape, nEventKind, item);
    else if (pShape->GetKeyId3().Find(L'#') == 0)
        EditGlobalVariable(pShape, nEventKind, pShape->GetKeyId3());
}

BOOL CQYRViewView::MakeAnalogValue(const CString& strText, VARTYPE vt, _variant_t& value)
{
    CString text = strText;
    text.Trim();
    double d = 0.0;
    if (text.IsEmpty() || !CAnalogEntryDlg::ParseNumber(text, d) || !std::isfinite(d))
    {
        RefuseEntry(L"Please enter a number.");
        return FALSE;
    }
    const double t = std::trunc(d);
    double lo = 0.0, hi = 0.0;
    switch (vt)
    {
    case VT_I2:
        lo = -32768.0, hi = 32767.0;
        break;
    case VT_I4:
        lo = -2147483648.0, hi = 2147483647.0;
        break;
    case VT_R4:
        lo = -double(FLT_MAX), hi = double(FLT_MAX);
        break;
    default:
        lo = -DBL_MAX, hi = DBL_MAX;
        break;
    }
    const double checked = (vt == VT_I2 || vt == VT_I4) ? t : d;
    if (checked < lo || checked > hi)
    {
        CString message;
        message.Format(L"The value %s does not fit the item (%.15g to %.15g).", text.GetString(), lo, hi);
        RefuseEntry(message);
        return FALSE;
    }
    value.Clear();
    switch (vt)
    {
    case VT_I2:
        value = _variant_t(short(t), VT_I2);
        break;
    case VT_I4:
        value = _variant_t(long(t));
        break;
    case VT_R4:
        value = _variant_t(float(d));
        break;
    default:
        value = _variant_t(d);
        break;
    }
    return TRUE;
}

void CQYRViewView::WriteShapeValue(CFODrawShape* pShape, int nEvent, CItem* pItem)
{
    const double current = pShape->GetCurrentValue();
    const _variant_t itemValue = pItem->GetValue();
    VARTYPE vt = V_VT(&itemValue);
    if (vt == VT_EMPTY)
        vt = pItem->GetDataType();

    _variant_t value;
    BOOL confirmed = FALSE;
    BOOL refused = FALSE;
    switch (vt)
    {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    {
        CAnalogEntryDlg dlg(this);
        if (dlg.DoModal() == IDOK)
        {
            confirmed = MakeAnalogValue(dlg.m_strText, vt, value);
            refused = !confirmed;
        }
        break;
    }
    case VT_BSTR:
    {
        CStringEntryDlg dlg(this);
        if (dlg.DoModal() == IDOK)
        {
            value = _variant_t(dlg.m_strValue.GetString());
            confirmed = TRUE;
        }
        break;
    }
    case VT_BOOL:
        if (nEvent == 21)
        {
            value = _variant_t(current == 0.0);
            confirmed = TRUE;
        }
        else
        {
            CDigitalEntryDlg dlg(this);
            dlg.m_nState = current != 0.0 ? 1 : 0;
            if (dlg.DoModal() == IDOK)
            {
                value = _variant_t(dlg.m_nState == 1);
                confirmed = TRUE;
            }
        }
        break;
    default:
        return;
    }

    if (confirmed)
    {
        CGroup* group = pItem->GetGroup();
        if (!group)
            return;
        OPCHANDLE handle = pItem->GetHandle();
        const int busy = m_nBusy;
        m_nBusy = 1;
        group->CommandItemsSync(1, &handle, &value);
        m_nBusy = busy;
        return;
    }
    // Cancelled or refused: show what the item holds again.
    (void)refused;
    if (SetShapeFromVariant(pShape, pItem->GetValue(), TRUE))
    {
        CFOTypedShapeObList one;
        AddToRedraw(one, pShape);
        if (!one.IsEmpty())
            m_pCanvas->UpdateShapes(&one);
    }
}

void CQYRViewView::EditGlobalVariable(CFODrawShape* pShape, int nEvent, const CString& strName)
{
    CWorkSpaceObj* ws = GetWorkSpace();
    CParamObj* param = ws ? ws->FindParamByName(strName) : nullptr;
    if (!param)
        return;
    FO_VALUE& v = param->GetValue();
    BOOL confirmed = FALSE;
    switch (v.m_nValueType)
    {
    case FO_VALUE_BOOL:
        if (nEvent == 21)
        {
            v.m_bValue = v.m_bValue ? 0 : 1;
            confirmed = TRUE;
        }
        else
        {
            CDigitalEntryDlg dlg(this);
            dlg.m_nState = v.m_bValue ? 1 : 0;
            if (dlg.DoModal() == IDOK)
            {
                v.m_bValue = dlg.m_nState == 1 ? 1 : 0;
                confirmed = TRUE;
            }
        }
        break;
    case FO_VALUE_STRING:
    {
        CStringEntryDlg dlg(this);
        if (dlg.DoModal() == IDOK)
        {
            v.m_strValue = dlg.m_strValue;
            confirmed = TRUE;
        }
        break;
    }
    case FO_VALUE_INT:
    case FO_VALUE_FLOAT:
    case FO_VALUE_DOUBLE:
    case FO_VALUE_DWORD:
    {
        CAnalogEntryDlg dlg(this);
        if (dlg.DoModal() == IDOK)
        {
            _variant_t number;
            if (MakeAnalogValue(dlg.m_strText, VT_R8, number))
            {
                CXVKMethodHost::WriteNumber(param, double(number));
                confirmed = TRUE;
            }
        }
        break;
    }
    default:
        return;
    }
    if (!confirmed)
        return;
    CFOTypedShapeObList redraw;
    SetShapeValue(pShape, v, TRUE);
    AddToRedraw(redraw, pShape);
    if (CExtDataModel* model = GetCurrentModel())
        model->PushParamValue(pShape, param->GetName(), v, &redraw, PARAM_KIND_GLOBAL);
    if (!redraw.IsEmpty())
        m_pCanvas->UpdateShapes(&redraw);
}

BOOL CQYRViewView::SetShapeFromVariant(CFODrawShape* pShape, const VARIANT& value, BOOL bForce)
{
    FO_VALUE v;
    switch (V_VT(&value))
    {
    case VT_I2:
        v.SetInt(V_I2(&value));
        break;
    case VT_I4:
        v.SetInt(int(V_I4(&value)));
        break;
    case VT_R4:
        v.SetFloat(V_R4(&value));
        break;
    case VT_R8:
        v.SetDouble(V_R8(&value));
        break;
    case VT_BSTR:
        v.SetString(CString(V_BSTR(&value) ? V_BSTR(&value) : L""));
        break;
    case VT_BOOL:
        v.SetBool(V_BOOL(&value) != VARIANT_FALSE);
        break;
    case VT_UI4:
        v.SetDWord(V_UI4(&value));
        break;
    default:
        return FALSE;
    }
    return SetShapeValue(pShape, v, bForce);
}

BOOL CQYRViewView::SetShapeValue(CFODrawShape* pShape, const FO_VALUE& value, BOOL bForce)
{
    const UINT type = pShape->GetType();
    const BOOL isText = value.m_nValueType == FO_VALUE_STRING;
    const BOOL isNumber = !isText && value.IsNumeric();
    const double next = isNumber ? value.GetAsDouble() : 0.0;
    BOOL set = FALSE;
    if (isNumber)
    {
        const BOOL unchanged = next == pShape->GetCurrentValue();
        if (!unchanged || bForce)
        {
            pShape->SetCurrentValue(next);
            FOApplyShapeValue(pShape, next);
            set = TRUE;
        }
    }
    else if (isText && !IsStepType(type))
    {
        if (value.m_strValue != pShape->GetCurrentTextValue() || bForce)
        {
            pShape->SetCurrentTextValue(value.m_strValue);
            if (type == FO_COMP_SIMPLELABEL)
                pShape->SetObjectCaption(value.m_strValue);
            set = TRUE;
        }
    }
    if (set)
        PutValueFlags(pShape, next);
    return set;
}
