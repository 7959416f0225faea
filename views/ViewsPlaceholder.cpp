// The section views and the main window live in this folder.
namespace vsp_views_unit {}
