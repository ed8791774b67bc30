// Serialisable classes for the archive tests and the archive fuzz target. Every object is tracked,
// so a test can free whatever a failed load left behind, whatever the pointers inside point to.
#pragma once

#include "mfc/Archive.h"
#include "mfc/Collections.h"

#include <set>

class CTracked : public CObject
{
    DECLARE_DYNAMIC(CTracked)
public:
    CTracked() { Live().insert(this); }
    ~CTracked() override { Live().erase(this); }
    static std::set<CTracked*>& Live()
    {
        static std::set<CTracked*> live;
        return live;
    }
    static void DeleteAll()
    {
        while (!Live().empty())
            delete *Live().begin();
    }
};

// A leaf: a name, an integer and a double.
class CTestItem : public CTracked
{
    DECLARE_SERIAL(CTestItem)
public:
    void Serialize(CArchive& ar) override;

    CString m_name;
    int m_n = 0;
    double m_d = 0;
};

// A group of items and groups, not owning them. Schema 2 added a label; schema 1 files lack it.
class CTestGroup : public CTestItem
{
    DECLARE_SERIAL(CTestGroup)
public:
    void Serialize(CArchive& ar) override;

    CString m_label;
    CTypedPtrArray<CObArray, CTestItem*> m_items;
};

// Two references to items, typed through the serial class's own operator>>.
class CTestLink : public CTracked
{
    DECLARE_SERIAL(CTestLink)
public:
    void Serialize(CArchive& ar) override;

    CTestItem* m_pFrom = nullptr;
    CTestItem* m_pTo = nullptr;
};

// Schema 3 and not versionable: any other stored schema is refused.
class CTestStrict : public CTracked
{
    DECLARE_SERIAL(CTestStrict)
public:
    void Serialize(CArchive& ar) override;

    WORD m_w = 0;
};

// Dynamic creation only: an archive may not name it.
class CTestDynOnly : public CObject
{
    DECLARE_DYNCREATE(CTestDynOnly)
};
