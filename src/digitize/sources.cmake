# Files of src/digitize, added to quillmark_core or quillmark_ui.
