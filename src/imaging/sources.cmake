# Files of src/imaging, added to quillmark_core or quillmark_ui.
