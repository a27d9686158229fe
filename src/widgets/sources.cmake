# Files of src/widgets, added to quillmark_core or quillmark_ui.
