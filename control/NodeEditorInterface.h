// What the pipeline store asks of the node editor: to rebuild its nodes from the
// commander's element table after a load. The editor implements it; the store holds a
// plain pointer that it does not own, and with none attached a load builds the back end only.
#pragma once

class NodeEditorInterface {
public:
    virtual ~NodeEditorInterface() = default;
    virtual void UpdateFromBackend() = 0;
};
