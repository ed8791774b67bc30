// Edit actions and the undo history of a model.
//
// Every edit of a screen in the editor is one CFOAction run through the model's history
// (CFODataModel::Do): property changes, geometry changes, inserts, removals, grouping and order.
// Each kind of change is its own class; an action knows how to do and undo itself, and the
// history keeps the done ones for undo and the undone ones for redo. A new action drops the redo
// list; a move that follows a move of the same shapes merges into it, so a run of arrow keys is
// one step.
#pragma once

#include "figkit/FOShapeSet.h"
#include "figkit/FoValue.h"
#include "mfc/CString.h"
#include "mfc/Collections.h"
#include "mfc/Object.h"

#include <memory>
#include <vector>

class CFODataModel;
class CFODrawShape;
class CFOCompositeShape;

// Kinds that can merge (GetMergeId).
enum
{
    FO_ACTION_NOMERGE = -1,
    FO_ACTION_MOVE = 1,
};

class CFOAction : public CObject
{
public:
    CFOAction(CFODataModel* pModel, const CString& strLabel) : m_pModel(pModel), m_strLabel(strLabel) {}
    ~CFOAction() override = default;

    // Does (the first time and on redo) and undoes the change; FALSE when it could not.
    virtual BOOL Execute() = 0;
    virtual BOOL Unexecute() = 0;
    // The text the undo and redo lists show.
    const CString& GetLabel() const { return m_strLabel; }
    void SetLabel(const CString& str) { m_strLabel = str; }
    virtual int GetMergeId() const { return FO_ACTION_NOMERGE; }
    // Takes a later action of the same merge id into this one; FALSE when it cannot.
    virtual BOOL MergeWith(const CFOAction& next)
    {
        (void)next;
        return FALSE;
    }
    // The shapes the action changes (for the selection and redraw).
    virtual void GetShapes(CFOTypedShapeObList& list) const { (void)list; }
    CFODataModel* GetModel() const { return m_pModel; }

protected:
    CFODataModel* m_pModel;
    CString m_strLabel;
};

// Property changes: any number of entries, each setting one property id to one value on any
// number of shapes (or on the model itself).
class CFOPropAction : public CFOAction
{
public:
    explicit CFOPropAction(CFODataModel* pModel);

    void AddEntry(int nPropId, const FO_VALUE& value, const FOPContainer& shapes);
    void AddEntry(int nPropId, const FO_VALUE& value, CFODrawShape* pShape);
    // A property of the model (for example its canvas background colour).
    void AddModelEntry(int nPropId, const FO_VALUE& value);
    int GetEntryCount() const { return int(m_entries.size()); }
    int GetEntryPropId(int i) const { return m_entries.at(size_t(i)).nPropId; }
    int GetEntryShapeCount(int i) const { return int(m_entries.at(size_t(i)).shapes.size()); }

    BOOL Execute() override;
    BOOL Unexecute() override;
    void GetShapes(CFOTypedShapeObList& list) const override;

private:
    struct Target
    {
        CFOShapePtr<CFODrawShape> pShape;
        FO_VALUE old;
        BOOL bHadOld = FALSE;
    };
    struct Entry
    {
        int nPropId = 0;
        FO_VALUE value;
        BOOL bModel = FALSE;
        FO_VALUE modelOld;
        BOOL bModelHadOld = FALSE;
        std::vector<Target> shapes;
    };
    std::vector<Entry> m_entries;
};

// Geometry changes (move, resize, rotate, align, same size): the shapes' geometry before and
// after, taken from copies.
class CFOGeometryAction : public CFOAction
{
public:
    CFOGeometryAction(CFODataModel* pModel, const CString& strLabel, int nMergeId = FO_ACTION_NOMERGE);

    // Before the change: remembers where the shapes are.
    void Begin(const FOPContainer& shapes);
    // After the change: remembers where they went. FALSE when nothing moved.
    BOOL End();

    BOOL Execute() override;
    BOOL Unexecute() override;
    int GetMergeId() const override { return m_nMergeId; }
    BOOL MergeWith(const CFOAction& next) override;
    void GetShapes(CFOTypedShapeObList& list) const override;

private:
    struct Item
    {
        CFOShapePtr<CFODrawShape> pShape;
        CFOShapePtr<CFODrawShape> pBefore;
        CFOShapePtr<CFODrawShape> pAfter;
    };
    std::vector<Item> m_items;
    int m_nMergeId;
};

// Shapes put into the model (bInsert) or taken out of it; each at its own place in the order.
class CFOAddRemoveAction : public CFOAction
{
public:
    CFOAddRemoveAction(CFODataModel* pModel, const CString& strLabel, BOOL bInsert);
    // For an insert: the shape goes at nIndex (-1: at the end). For a removal the index is read
    // when the action runs.
    void AddShape(CFODrawShape* pShape, int nIndex = -1);

    BOOL Execute() override;
    BOOL Unexecute() override;
    void GetShapes(CFOTypedShapeObList& list) const override;

private:
    BOOL Insert();
    BOOL Remove();
    struct Item
    {
        CFOShapePtr<CFODrawShape> pShape;
        int nIndex = -1;
    };
    std::vector<Item> m_items;
    BOOL m_bInsert;
};

// Grouping (bGroup) puts shapes into a new composite in their place; ungrouping is the reverse.
class CFOGroupAction : public CFOAction
{
public:
    CFOGroupAction(CFODataModel* pModel, CFOCompositeShape* pComp, const FOPContainer& shapes, BOOL bGroup);

    BOOL Execute() override;
    BOOL Unexecute() override;
    void GetShapes(CFOTypedShapeObList& list) const override;
    CFOCompositeShape* GetComposite() const;

private:
    BOOL DoGroup();
    BOOL DoUngroup();
    CFOShapePtr<CFODrawShape> m_pComp;
    std::vector<CFOShapePtr<CFODrawShape>> m_shapes;
    std::vector<int> m_indexes;
    int m_nCompIndex = -1;
    BOOL m_bGroup;
};

// A new order of the model's shapes.
class CFOOrderAction : public CFOAction
{
public:
    CFOOrderAction(CFODataModel* pModel, const CString& strLabel, const std::vector<CFODrawShape*>& after);

    BOOL Execute() override;
    BOOL Unexecute() override;

private:
    std::vector<CFOShapePtr<CFODrawShape>> m_before;
    std::vector<CFOShapePtr<CFODrawShape>> m_after;
};

// The state of a hosted control changed on its property pages (CFOWndControlShape): the bytes
// before and after. It is recorded once the pages have changed the control.
class CFOControlStateAction : public CFOAction
{
public:
    CFOControlStateAction(CFODataModel* pModel, CFODrawShape* pShape, std::vector<BYTE> before,
                          std::vector<BYTE> after);

    BOOL Execute() override;
    BOOL Unexecute() override;
    void GetShapes(CFOTypedShapeObList& list) const override;

private:
    BOOL Apply(const std::vector<BYTE>& state);
    CFOShapePtr<CFODrawShape> m_pShape;
    std::vector<BYTE> m_before;
    std::vector<BYTE> m_after;
};

// The undo history of one model.
class CFOUndoHistory
{
public:
    explicit CFOUndoHistory(CFODataModel* pModel) : m_pModel(pModel) {}

    // Runs the action (unless bExecute is FALSE: it was already done) and keeps it; FALSE when the
    // action refused, and the caller keeps (and deletes) it.
    BOOL Do(CFOAction* pAction, BOOL bExecute);
    BOOL Undo();
    BOOL Redo();
    // Several steps at once; more than there are does them all. The count done is returned.
    int UndoMacro(int nSteps);
    int RedoMacro(int nSteps);
    BOOL CanUndo() const { return !m_undo.empty(); }
    BOOL CanRedo() const { return !m_redo.empty(); }
    int GetUndoCount() const { return int(m_undo.size()); }
    int GetRedoCount() const { return int(m_redo.size()); }
    // The texts, latest first.
    void GetUndoActionText(CStringArray& list) const;
    void GetRedoActionText(CStringArray& list) const;
    // The present state is the saved one; IsClean tells whether the history is back at it.
    void SetClean();
    BOOL IsClean() const { return m_nCleanIndex == int(m_undo.size()); }
    void Clear();
    // No merge with the last action (the next move starts a step of its own).
    void BreakMerge() { m_bMergeOpen = FALSE; }

private:
    CFODataModel* m_pModel;
    std::vector<std::unique_ptr<CFOAction>> m_undo;
    std::vector<std::unique_ptr<CFOAction>> m_redo;
    // The undo depth of the saved state; -1 when it can no longer be reached.
    int m_nCleanIndex = 0;
    BOOL m_bMergeOpen = TRUE;
};
