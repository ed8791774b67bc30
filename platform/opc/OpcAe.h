// The OPC Alarms and Events 1.0 interfaces.
//
// Memory rule as for Data Access: returned arrays and strings are task memory the caller frees.
#pragma once

#include "opcsdk/OpcDa.h"

inline const IID IID_IOPCEventServer = {
    0x65168851, 0x5783, 0x11D1, {0x84, 0xA0, 0x00, 0x60, 0x8C, 0xB8, 0xA7, 0xE9}};
inline const IID IID_IOPCEventSubscriptionMgt = {
    0x65168855, 0x5783, 0x11D1, {0x84, 0xA0, 0x00, 0x60, 0x8C, 0xB8, 0xA7, 0xE9}};
inline const IID IID_IOPCEventAreaBrowser = {
    0x65168857, 0x5783, 0x11D1, {0x84, 0xA0, 0x00, 0x60, 0x8C, 0xB8, 0xA7, 0xE9}};
inline const IID IID_IOPCEventSink = {
    0x6516885F, 0x5783, 0x11D1, {0x84, 0xA0, 0x00, 0x60, 0x8C, 0xB8, 0xA7, 0xE9}};

class IOPCEventAreaBrowser; // not offered: CreateAreaBrowser returns E_NOTIMPL

class IOPCEventServer : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCEventServer; }
    virtual HRESULT STDMETHODCALLTYPE GetStatus(OPCEVENTSERVERSTATUS** ppEventServerStatus) = 0;
    // riid: IID_IOPCEventSubscriptionMgt. The subscription is a connection-point container with
    // the IOPCEventSink connection point.
    virtual HRESULT STDMETHODCALLTYPE CreateEventSubscription(BOOL bActive, DWORD dwBufferTime,
                                                              DWORD dwMaxSize, OPCHANDLE hClientSubscription,
                                                              REFIID riid, LPUNKNOWN* ppUnk,
                                                              DWORD* pdwRevisedBufferTime,
                                                              DWORD* pdwRevisedMaxSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryAvailableFilters(DWORD* pdwFilterMask) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryEventCategories(DWORD dwEventType, DWORD* pdwCount,
                                                           DWORD** ppdwEventCategories,
                                                           LPWSTR** ppszEventCategoryDescs) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryConditionNames(DWORD dwEventCategory, DWORD* pdwCount,
                                                          LPWSTR** ppszConditionNames) = 0;
    virtual HRESULT STDMETHODCALLTYPE QuerySubConditionNames(LPWSTR szConditionName, DWORD* pdwCount,
                                                             LPWSTR** ppszSubConditionNames) = 0;
    virtual HRESULT STDMETHODCALLTYPE QuerySourceConditions(LPWSTR szSource, DWORD* pdwCount,
                                                            LPWSTR** ppszConditionNames) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryEventAttributes(DWORD dwEventCategory, DWORD* pdwCount,
                                                           DWORD** ppdwAttrIDs, LPWSTR** ppszAttrDescs,
                                                           VARTYPE** ppvtAttrTypes) = 0;
    virtual HRESULT STDMETHODCALLTYPE TranslateToItemIDs(LPWSTR szSource, DWORD dwEventCategory,
                                                         LPWSTR szConditionName, LPWSTR szSubconditionName,
                                                         DWORD dwCount, DWORD* pdwAssocAttrIDs,
                                                         LPWSTR** ppszAttrItemIDs, LPWSTR** ppszNodeNames,
                                                         CLSID** ppCLSIDs) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConditionState(LPWSTR szSource, LPWSTR szConditionName,
                                                        DWORD dwNumEventAttrs, DWORD* pdwAttributeIDs,
                                                        OPCCONDITIONSTATE** ppConditionState) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnableConditionByArea(DWORD dwNumAreas, LPWSTR* pszAreas) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnableConditionBySource(DWORD dwNumSources, LPWSTR* pszSources) = 0;
    virtual HRESULT STDMETHODCALLTYPE DisableConditionByArea(DWORD dwNumAreas, LPWSTR* pszAreas) = 0;
    virtual HRESULT STDMETHODCALLTYPE DisableConditionBySource(DWORD dwNumSources, LPWSTR* pszSources) = 0;
    virtual HRESULT STDMETHODCALLTYPE AckCondition(DWORD dwCount, LPWSTR szAcknowledgerID, LPWSTR szComment,
                                                   LPWSTR* pszSource, LPWSTR* pszConditionName,
                                                   FILETIME* pftActiveTime, DWORD* pdwCookie,
                                                   HRESULT** ppErrors) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateAreaBrowser(REFIID riid, LPUNKNOWN* ppUnk) = 0;
};

class IOPCEventSubscriptionMgt : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCEventSubscriptionMgt; }
    virtual HRESULT STDMETHODCALLTYPE SetFilter(DWORD dwEventType, DWORD dwNumCategories,
                                                DWORD* pdwEventCategories, DWORD dwLowSeverity,
                                                DWORD dwHighSeverity, DWORD dwNumAreas, LPWSTR* pszAreaList,
                                                DWORD dwNumSources, LPWSTR* pszSourceList) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFilter(DWORD* pdwEventType, DWORD* pdwNumCategories,
                                                DWORD** ppdwEventCategories, DWORD* pdwLowSeverity,
                                                DWORD* pdwHighSeverity, DWORD* pdwNumAreas,
                                                LPWSTR** ppszAreaList, DWORD* pdwNumSources,
                                                LPWSTR** ppszSourceList) = 0;
    virtual HRESULT STDMETHODCALLTYPE SelectReturnedAttributes(DWORD dwEventCategory, DWORD dwCount,
                                                               DWORD* dwAttributeIDs) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReturnedAttributes(DWORD dwEventCategory, DWORD* pdwCount,
                                                            DWORD** ppdwAttributeIDs) = 0;
    // dwConnection: the cookie of the sink's Advise. The conditions arrive on the sink with bRefresh
    // set, the last call with bLastRefresh set (also when there are none).
    virtual HRESULT STDMETHODCALLTYPE Refresh(DWORD dwConnection) = 0;
    virtual HRESULT STDMETHODCALLTYPE CancelRefresh(DWORD dwConnection) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetState(BOOL* pbActive, DWORD* pdwBufferTime, DWORD* pdwMaxSize,
                                               OPCHANDLE* phClientSubscription) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetState(BOOL* pbActive, DWORD* pdwBufferTime, DWORD* pdwMaxSize,
                                               OPCHANDLE hClientSubscription, DWORD* pdwRevisedBufferTime,
                                               DWORD* pdwRevisedMaxSize) = 0;
};

// Called by the server on its own thread; the events are valid during the call only.
class IOPCEventSink : public IUnknown
{
public:
    static const IID& Iid() { return IID_IOPCEventSink; }
    virtual HRESULT STDMETHODCALLTYPE OnEvent(OPCHANDLE hClientSubscription, BOOL bRefresh, BOOL bLastRefresh,
                                              DWORD dwCount, ONEVENTSTRUCT* pEvents) = 0;
};
