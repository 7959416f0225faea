// Edits that change how sub-polygons share nodes: coupling and uncoupling nodes, inserting and deleting
// nodes, deleting sub-polygons, and pruning frame nodes no layer needs. All work in place; a false result
// may leave the model changed (DeleteNode), for the caller to restore from its working copy.
#pragma once

#include "core/Polygons.h"

// Removes node v from the node array; every ring entry above v moves down by one.
void RemoveNodeAndRenumber(int v, AllSpolygon& bodies, Tnodes& nodes);

// Joins node a into node b (a is removed). Across bodies (refused when either node is inner, class 2) the
// two bodies become one: b's body absorbs a's, or body 0 absorbs b's when a belongs to body 0. Within one
// body, ring positions that end up next to a position of b are dropped. False only for a == b or the
// refused inner nodes, with nothing changed. The caller checks the move of a onto b first. A position of a
// between two positions of b (a spike) leaves together with one of them.
bool CoupleNodes(int a, int b, int bodyOfA, int bodyOfB, AllSpolygon& bodies, Tnodes& nodes);

// Gives every use of v after its first one (edge rule range for the host) a new node at v's place, then
// splits the body into connected groups and prunes the frame. False when v has NodeClass 0.
bool UncoupleNode(int v, int body, AllSpolygon& bodies, Tnodes& nodes);

// Gives sub-polygon `sub` its own copy of v (at the last position of v in it) when another sub-polygon of
// the body also holds v. True when a copy was made.
bool UncoupleNodeFromSubPolygon(int v, int sub, int body, Tnodes& nodes, AllSpolygon& bodies);

// Detaches the sub-polygon from its neighbours (it ends as a separate body with nodes of its own), then
// prunes the frame. Always true; the host sub-polygon is left as it is.
bool UncoupleSubPolygon(int sub, int body, AllSpolygon& bodies, Tnodes& nodes);

// Adds a node on edge a-b of the body at the clicked point P snapped onto the edge (sx, sz: pixels per
// model unit), inserted between a and b in every ring of the body that has the edge. False, with nothing
// changed, when P lies within 1e-4 of a or b before or after snapping, when the snapped point falls
// outside the edge, when no ring of the body has the edge, or when a ring would turn over (a sliver).
bool InsertNodeOnEdge(int a, int b, int body, double sx, double sz, Tnodes& nodes, AllSpolygon& bodies,
                      complexM p);

// Removes node v from the body's rings (a spike u, v, u loses both v and one u) and the model, then checks the rings left (none may turn over)
// and their edges (an inner node's against the body; an outline node's against open edges and nesting)
// and splits the body into connected groups. False, with the model changed, when a ring would keep fewer than 3 positions or a check
// fails; false with nothing changed for a node built with the frame (held by the host ring's second half).
bool DeleteNode(int v, int body, AllSpolygon& bodies, Tnodes& nodes);

// Removes the sub-polygon, the nodes only it used and bodies left empty; splits the body and prunes the
// frame. Always true; the host sub-polygon is left as it is.
bool DeleteSubPolygon(int sub, int body, AllSpolygon& bodies, Tnodes& nodes);

// Deletes frame-outline nodes that were added for layers and that no layer of body 0 uses any more.
void PruneHostRing(AllSpolygon& bodies, Tnodes& nodes);
