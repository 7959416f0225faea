// Carrier of a shared precompiled header; holds no code.
namespace vsp_pch_anchor {}
