// What the application asks of the editor's main frame about the open project: its project
// display (the workspace tree) is refilled after every open, creation and close.
#pragma once

class IProjectFrame
{
public:
    virtual void RefreshProjectView() = 0;

protected:
    ~IProjectFrame() = default;
};
