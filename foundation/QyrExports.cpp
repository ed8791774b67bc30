#include "foundation/QyrExports.h"

#include <cfloat>

extern "C"
{
    double QYR_GetTagValueByName(char*)
    {
        return DBL_MAX;
    }
    double QYR_GetAiTagValue(void)
    {
        return DBL_MAX;
    }
    double QYR_GetDiTagValue(void)
    {
        return DBL_MAX;
    }
    double QYR_GetTagValueByInfo(void)
    {
        return DBL_MAX;
    }
    double QYR_GetTagValueByPos(void)
    {
        return DBL_MAX;
    }
    __TBLSTN__* QYR_GetGlobalStnPointerByName(const wchar_t*)
    {
        return nullptr;
    }
    long QYR_ConnectServer(void)
    {
        return 0;
    }
    long QYR_FindingAiArm(void)
    {
        return 0;
    }
    long QYR_FindingAiArmByPos(void)
    {
        return 0;
    }
    long QYR_FindingDiArm(void)
    {
        return 0;
    }
    long QYR_FindingDiArmByPos(void)
    {
        return 0;
    }
    long QYR_GetAITagByName(void)
    {
        return 0;
    }
    long QYR_GetAiTagInfoByPos(void)
    {
        return 0;
    }
    long QYR_GetAlarmCount(void)
    {
        return 0;
    }
    long QYR_GetAlarmData(void)
    {
        return 0;
    }
    long QYR_GetDITagByName(void)
    {
        return 0;
    }
    long QYR_GetDiTagInfoByPos(void)
    {
        return 0;
    }
    void* QYR_GetGlobalAiAlarmPointer(void)
    {
        return nullptr;
    }
    void* QYR_GetGlobalAiPointer(void)
    {
        return nullptr;
    }
    void* QYR_GetGlobalAiPointerByName(void)
    {
        return nullptr;
    }
    void* QYR_GetGlobalDiAlarmPointer(void)
    {
        return nullptr;
    }
    void* QYR_GetGlobalDiPointer(void)
    {
        return nullptr;
    }
    void* QYR_GetGlobalDiPointerByName(void)
    {
        return nullptr;
    }
    void* QYR_GetGlobalSBPointer(void)
    {
        return nullptr;
    }
    void* QYR_GetGlobalStnPointer(void)
    {
        return nullptr;
    }
    void* QYR_GetGlobalStringPointer(void)
    {
        return nullptr;
    }
    void* QYR_GetGlobalStringPointerByName(void)
    {
        return nullptr;
    }
    void* QYR_GetSBMutexHandle(void)
    {
        return nullptr;
    }
    long QYR_GetSTRTagByName(void)
    {
        return 0;
    }
    long QYR_GetStringTagInfoByPos(void)
    {
        return 0;
    }
    void* QYR_GetTimeDataPointer(void)
    {
        return nullptr;
    }
    void* QYR_GetfDataPointer(void)
    {
        return nullptr;
    }
    long QYR_IsActiveMode(void)
    {
        return 0;
    }
    long QYR_OutStream(void)
    {
        return 0;
    }
    long QYR_PutRunMacro(void)
    {
        return 0;
    }
    long QYR_GetTagPosByName(short, short, char*)
    {
        return -1;
    }
    long QYR_VBGetTagInfoByName(char*, __VBTAGINFO__*)
    {
        return -1;
    }
    long QYR_DRVAiDirectOutPut(void)
    {
        return -1;
    }
    long QYR_DRVAiOutPut(void)
    {
        return -1;
    }
    long QYR_DRVDiDirectOutPut(void)
    {
        return -1;
    }
    long QYR_DRVDiDirectOutPutPulse(void)
    {
        return -1;
    }
    long QYR_DRVDiOutPut(void)
    {
        return -1;
    }
    long QYR_DisconnectServer(void)
    {
        return -1;
    }
    long QYR_GetAiAlarmTotalCount(void)
    {
        return -1;
    }
    long QYR_GetAnalogDataByPos(void)
    {
        return -1;
    }
    long QYR_GetAnalogTotalCount(void)
    {
        return -1;
    }
    long QYR_GetDiAlarmTotalCount(void)
    {
        return -1;
    }
    long QYR_GetDigitalDataByPos(void)
    {
        return -1;
    }
    long QYR_GetDigitalTotalCount(void)
    {
        return -1;
    }
    long QYR_GetDrvMode(void)
    {
        return -1;
    }
    long QYR_GetDrvStatus(void)
    {
        return -1;
    }
    long QYR_GetLastError(void)
    {
        return -1;
    }
    long QYR_GetLastFnError(void)
    {
        return -1;
    }
    long QYR_GetOutPutData(void)
    {
        return -1;
    }
    long QYR_GetSBData(void)
    {
        return -1;
    }
    long QYR_GetSBMemory(void)
    {
        return -1;
    }
    long QYR_GetStnDataByPos(void)
    {
        return -1;
    }
    long QYR_GetStnPosByName(void)
    {
        return -1;
    }
    long QYR_GetStnPosByTagName(void)
    {
        return -1;
    }
    long QYR_GetStnTotalCount(void)
    {
        return -1;
    }
    long QYR_GetStringDataByPos(void)
    {
        return -1;
    }
    long QYR_GetStringTotalCount(void)
    {
        return -1;
    }
    long QYR_GetSysDrvPos(void)
    {
        return -1;
    }
    long QYR_GetTagInfoByName(void)
    {
        return -1;
    }
    long QYR_GetTagString(void)
    {
        return -1;
    }
    long QYR_GetTagStringByInfo(void)
    {
        return -1;
    }
    long QYR_LogIn(void)
    {
        return -1;
    }
    long QYR_OutPut(void)
    {
        return -1;
    }
    long QYR_PutAiTagValue(void)
    {
        return -1;
    }
    long QYR_PutAlarmData(void)
    {
        return -1;
    }
    long QYR_PutDiTagValue(void)
    {
        return -1;
    }
    long QYR_PutSBData(void)
    {
        return -1;
    }
    long QYR_PutSBMemory(void)
    {
        return -1;
    }
    long QYR_PutTagString(void)
    {
        return -1;
    }
    long QYR_PutTagStringByInfo(void)
    {
        return -1;
    }
    long QYR_PutTagValueByInfo(void)
    {
        return -1;
    }
    long QYR_PutTagValueByPos(void)
    {
        return -1;
    }
    long QYR_RequestData(void)
    {
        return -1;
    }
    long QYR_SetAPIClose(void)
    {
        return -1;
    }
    long QYR_SetAPIInit(void)
    {
        return -1;
    }
    long QYR_VBFindingAiArmByPos(void)
    {
        return -1;
    }
    long QYR_VBFindingDiArmByPos(void)
    {
        return -1;
    }
    long QYR_VBGetAlarmCount(void)
    {
        return -1;
    }
    long QYR_VBGetAlarmData(void)
    {
        return -1;
    }
    long QYR_WaitForConnection(void)
    {
        return -1;
    }
    long QYR_WaitForData(void)
    {
        return -1;
    }
    void QYR_GetRunMacro(void) {}
    void QYR_LogOff(void) {}
    void QYR_PutMessage(void) {}
}
